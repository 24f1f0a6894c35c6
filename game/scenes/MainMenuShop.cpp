// The main menu's shops: the decorations bought for plates, which appear in the menu's village picture, and
// the powerups and bonuses bought for tokens.
#include <cstdlib>

#include "engine/core/KTFormat.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTState.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/progress/BonusManager.h"
#include "game/progress/ItemShop.h"
#include "game/progress/Powerup.h"
#include "game/progress/PowerupManager.h"
#include "game/scenes/MainMenuScene.h"

namespace moonbrook {

namespace {

constexpr const char* kScenePicture = "data/partials/scene.xml";
constexpr const char* kSceneButtons = "data/partials/scene_buttons.xml";
constexpr const char* kUpgradeMenus = "data/partials/upgrades.xml";

ItemShop& shop() {
    return ItemShop::currentShop();
}

std::string upgradeMenuName(int menu) {
    return kt::KTFormat("upgrade_menu_%i", menu);
}

std::string iconFile(const std::string& keyOrBaseName) {
    return kt::KTFormat("data/partials/upgrades/b%@.xml", keyOrBaseName);
}

// Loads a partial into a node found in another node; a missing file leaves it empty.
void loadChildContent(kt::KTNode& parent, const char* child, const std::string& file) {
    const auto node = parent.getChildByName(child);
    if (!node) return;
    node->removeAllChildren();
    node->loadFromFile(file);
}

bool inState(const kt::KTNode& node, std::string_view state) {
    return node.currentState() && node.currentState()->name == state;
}

}  // namespace

void MainMenuScene::refreshShopWallet() {
    const auto user = selectedUser();
    setNodeText("plates_count", kt::KTFormat("%i", user ? user->amountOfResource(ItemShop::kCurrency) : 0));
    setNodeText("tokens_count", kt::KTFormat("%i", user ? user->tokens() : 0));
}

void MainMenuScene::setupItems() {
    loadInto("scene", kScenePicture);
    loadInto("scene_buttons", kSceneButtons);
    loadInto("upgrades", kUpgradeMenus);
    refreshShopWallet();
    for (const std::string& key : shop().ownedItems()) showItemForTime(key, 0);
    syncButtons();
}

void MainMenuScene::syncButtons() {
    for (int menu = 1; menu <= kUpgradeMenuCount; ++menu) syncUpgradeMenu(kt::KTFormat("%i", menu));
}

void MainMenuScene::setUpgradeMenuPrice(kt::KTNode& priceNode, int price, bool affordable) {
    priceNode.setText(kt::KTFormat("%i", price));
    priceNode.setState(affordable ? "default" : "not_enough");
}

void MainMenuScene::syncUpgradeMenu(const std::string& menuNumber) {
    const int number = std::atoi(menuNumber.c_str());
    const auto menu = getChildByName(upgradeMenuName(number));
    const auto user = selectedUser();
    if (!menu || !user) return;
    const std::string item = shop().itemForMenu(number);
    kt::KTLog("syncUpgradeMenu: %i", number);
    kt::KTLog("CURRENT ITEM SET: %i", shop().currentSet());
    loadChildContent(*menu, "b", iconFile(item));
    const auto price = menu->getChildByName("price");
    const auto options = menu->getChildByName("menu");
    const bool owned = ItemShop::userHasItem(*user, item);
    setChildVisible(*menu, "check", owned);
    setChildVisible(*menu, "coin", !owned);
    if (price) price->setVisible(!owned);
    if (owned || item.empty()) {
        kt::KTLog("has item %@", item);
        if (options) options->setState("default");
        return;
    }
    menu->setOnClick("toggleMenu:", menuNumber);
    const std::vector<std::string> variants = shop().offeredVariants(item);
    if (price && !variants.empty()) {
        const int first = shop().catalogue().itemPrice(variants.front());
        setUpgradeMenuPrice(*price, first, shop().canAfford(variants.front()));
    }
    if (options) offerVariants(*options, variants);
}

// The first offered variant is priced in "price_a", any later one in "price_b".
void MainMenuScene::offerVariants(kt::KTNode& menu, const std::vector<std::string>& variants) {
    for (const char* slot : {"b1", "b2"}) {
        if (const auto button = menu.getChildByName(slot)) button->setVisible(false);
    }
    for (std::size_t j = 0; j < variants.size() && j < 2; ++j) {
        const std::string& key = variants[j];
        if (const auto price = menu.getChildByName(j == 0 ? "price_a" : "price_b"))
            setUpgradeMenuPrice(*price, shop().catalogue().itemPrice(key), shop().canAfford(key));
        const auto button = menu.getChildByName(kt::KTFormat("b%i", static_cast<int>(j) + 1));
        if (!button) continue;
        loadChildContent(*button, "b", iconFile(key));
        button->setVisible(true);
        button->setHandlerByDefinition("buyItemPopup:" + key, "on_click");
        button->setHandlerByDefinition("previewItem:" + key, "on_enter");
        button->setHandlerByDefinition("hideItem:" + key, "on_leave");
    }
}

void MainMenuScene::toggleMenu(const std::string& menuNumber) {
    const int number = std::atoi(menuNumber.c_str());
    for (int menu = 1; menu <= kUpgradeMenuCount; ++menu) {
        const auto node = getChildByName(upgradeMenuName(menu));
        const auto options = node ? node->getChildByName("menu") : nullptr;
        if (!options) continue;
        const bool open = inState(*options, "visible");
        options->setState(menu == number && !open ? "visible" : "default");
    }
}

void MainMenuScene::closeAllMenus() {
    toggleMenu("0");
}

void MainMenuScene::buyItemPopup(const std::string& key) {
    kt::KTLog("buyItemPopup: %@", key);
    buyingItemName_ = key;
    if (currentState() && !inState(*this, "upgrade_popup")) buyingItemPrevState_ = currentState()->name;
    setState("upgrade_popup");
    const int price = shop().catalogue().itemPrice(key);
    setNodeText("whould_you_to_buy_item",
                kt::KTLocalizeFormat("Would you like to buy this upgrade for %@ plates?", price));
    loadInto("upgrade_popup_content", kt::KTFormat("data/partials/upgrade_popups/%@.xml", key));
    if (const auto content = getChildByName("upgrade_popup_content")) {
        for (const auto& child : content->children()) {
            if (const auto priceNode = child->getChildByName("price")) priceNode->setText(kt::KTFormat("%i", price));
            if (const auto buy = child->getChildByName("buy_button")) buy->setEnabled(shop().canAfford(key));
        }
    }
}

void MainMenuScene::completeBuyItem() {
    kt::KTLog("completeBuyItem (%@)", buyingItemName_);
    buyItem(buyingItemName_);
    buyingItemName_.clear();
    returnFromPurchase();
    closeAllMenus();
}

void MainMenuScene::cancelBuyItem() {
    buyingItemName_.clear();
    returnFromPurchase();
}

// Back to the screen the popup was opened from: the village, where the shop is.
void MainMenuScene::returnFromPurchase() {
    setState(buyingItemPrevState_.empty() ? "map" : buyingItemPrevState_);
}

void MainMenuScene::buyItem(const std::string& key) {
    if (shop().buyItem(key) != ItemShop::Purchase::bought) return;
    showItem(key);
    refreshShopWallet();
    if (const auto picture = getChildByName(key)) {
        startEffect(kt::KTFormat("data/effects/upgrades/%@.xml", key), picture->absoluteCenter());
    }
    syncButtons();
}

void MainMenuScene::setItemNodeState(const std::string& key, const std::string& state) {
    if (const auto node = getChildByName(key)) node->setState(state);
}

void MainMenuScene::previewItem(const std::string& key) {
    const auto node = getChildByName(key);
    if (!node || inState(*node, "visible")) return;
    node->setState("preview");
    setItemNodeState(key + "t", "visible");
}

void MainMenuScene::hideItem(const std::string& key) {
    const auto node = getChildByName(key);
    if (!node || !inState(*node, "preview")) return;
    node->setState("hidden");
    setItemNodeState(key + "t", "default");
}

void MainMenuScene::showItem(const std::string& key) {
    setItemNodeState(key, "visible");
}

void MainMenuScene::showItemForTime(const std::string& key, float seconds) {
    if (const auto node = getChildByName(key)) node->setState("visible", seconds);
}

// Each powerup's panel shows its bought level and the prices of a step up and down.
void MainMenuScene::setupPowerups() {
    PowerupManager& powerups = PowerupManager::currentPowerupManager();
    for (const auto& powerup : powerups.powerups()) {
        kt::KTLog("setting %@", powerup->name());
        const auto panel = getChildByName("powerup_" + powerup->name());
        if (!panel) continue;
        const bool more = powerup->maxLevel() < powerup->levelCount();
        if (const auto level = panel->getChildByName("level"))
            level->setText(kt::KTFormat("%i / %i", powerup->maxLevel(), powerup->levelCount()));
        for (int step = 0; step <= powerup->levelCount(); ++step) {
            if (const auto mark = panel->getChildByName(kt::KTFormat("level_%i", step)))
                mark->setVisible(step <= powerup->maxLevel());
        }
        if (const auto button = panel->getChildByName("upgrade_button")) {
            button->setOnClick("upgradePowerup:", powerup->name());
            button->setEnabled(powerup->canUpgrade());
        }
        if (const auto button = panel->getChildByName("degrade_button")) {
            button->setOnClick("degradePowerup:", powerup->name());
            button->setEnabled(powerup->canDegrade());
        }
        if (const auto price = panel->getChildByName("price_cnt")) {
            price->setVisible(more);
            setUpgradeMenuPrice(*price, powerup->upgradePrice(), powerup->isEnoughMoneyForUpgrade());
        }
        const std::string described = kt::KTFormat("%@_%i", powerup->name(), powerup->maxLevel());
        panel->setHandlerByDefinition("showPowerupDescription:" + described, "on_enter");
        panel->setHandlerByDefinition("hidePowerupDescription:" + described, "on_leave");
    }
    BonusManager& bonuses = BonusManager::currentManager();
    for (const std::string& name : bonuses.bonuses()) {
        const auto panel = getChildByName("bonus_" + name);
        if (!panel) continue;
        const bool owned = bonuses.currentUserHasBonus(name);
        if (const auto buy = panel->getChildByName("buy_button")) {
            buy->setVisible(!owned);
            buy->setEnabled(bonuses.isEnoughMoneyToBuy(name));
            buy->setOnClick("buyBonus:", name);
        }
        if (const auto sell = panel->getChildByName("sell_button")) {
            sell->setVisible(owned);
            sell->setOnClick("sellBonus:", name);
        }
        if (const auto price = panel->getChildByName("price_cnt"))
            setUpgradeMenuPrice(*price, bonuses.priceOfBonus(name), owned || bonuses.isEnoughMoneyToBuy(name));
    }
    refreshShopWallet();
}

void MainMenuScene::upgradePowerup(const std::string& name) {
    kt::KTLog("upgrading powerup %@", name);
    changePowerup(name, &Powerup::upgrade);
}

void MainMenuScene::degradePowerup(const std::string& name) {
    kt::KTLog("degrading powerup %@", name);
    changePowerup(name, &Powerup::degrade);
}

// The bought level goes into the profile together with the tokens, so that both survive a restart.
void MainMenuScene::changePowerup(const std::string& name, void (Powerup::*change)()) {
    const auto powerup = PowerupManager::currentPowerupManager().getPowerupByName(name);
    if (!powerup) return;
    ((*powerup).*change)();
    powerup->save();
    kt::KTUserManager::sharedManager().save();
    setupPowerups();
}

void MainMenuScene::showPowerupDescription(const std::string& nameAndLevel) {
    loadInto("powerup_description", kt::KTFormat("data/partials/powerup_shop/descriptions/%@.xml", nameAndLevel));
    if (const auto panel = getChildByName("powerup_description")) panel->setVisible(true);
}

void MainMenuScene::hidePowerupDescription(const std::string&) {
    if (const auto panel = getChildByName("powerup_description")) panel->setVisible(false);
}

void MainMenuScene::buyBonus(const std::string& name) {
    BonusManager& bonuses = BonusManager::currentManager();
    if (bonuses.currentUserHasBonus(name) || !bonuses.isEnoughMoneyToBuy(name)) return;
    bonuses.buyBonus(name);
    kt::KTUserManager::sharedManager().save();
    setupPowerups();
}

void MainMenuScene::sellBonus(const std::string& name) {
    BonusManager& bonuses = BonusManager::currentManager();
    if (!bonuses.currentUserHasBonus(name)) return;
    bonuses.sellBonus(name);
    kt::KTUserManager::sharedManager().save();
    setupPowerups();
}

}  // namespace moonbrook
