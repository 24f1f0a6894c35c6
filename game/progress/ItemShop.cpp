#include "game/progress/ItemShop.h"

#include <algorithm>

#include "engine/core/KTLog.h"
#include "engine/services/KTUserManager.h"
#include "game/progress/ProfileBoundManager.h"

namespace moonbrook {

namespace {

using kt::KTPlist;

ProfileBoundManager<ItemShop>& sharedInstance() {
    static ProfileBoundManager<ItemShop> instance;
    return instance;
}

const KTPlist::Array& ownedKeys(const kt::KTUser& user) {
    return user.objectForKey(ItemShop::kOwnedKey).arrayValue();
}

bool ownsMatching(const kt::KTUser& user, auto matches) {
    return std::ranges::any_of(ownedKeys(user), [&](const KTPlist& owned) {
        return owned.isString() && matches(owned.stringValue());
    });
}

}  // namespace

ItemShop& ItemShop::currentShop() {
    return sharedInstance().current();
}

void ItemShop::resetCurrentShop() {
    sharedInstance().reset();
}

ItemShop::ItemShop(std::shared_ptr<kt::KTUser> user) : user_(user) {}

bool ItemShop::userHasItem(const kt::KTUser& user, std::string_view keyOrBaseName) {
    const std::string_view base = ItemCatalogue::baseName(keyOrBaseName);
    return ownsMatching(user, [base](const std::string& owned) { return ItemCatalogue::baseName(owned) == base; });
}

bool ItemShop::userHasItemVariant(const kt::KTUser& user, std::string_view key) {
    return ownsMatching(user, [key](const std::string& owned) { return owned == key; });
}

bool ItemShop::userHasItems(const kt::KTUser& user, const std::vector<std::string>& keys) {
    return std::ranges::all_of(keys, [&user](const std::string& key) { return userHasItemVariant(user, key); });
}

std::vector<std::string> ItemShop::ownedItems() const {
    std::vector<std::string> keys;
    if (const auto user = user_.lock()) {
        for (const KTPlist& owned : ownedKeys(*user)) {
            if (owned.isString()) keys.push_back(owned.stringValue());
        }
    }
    return keys;
}

bool ItemShop::setComplete(int set) const {
    const auto user = user_.lock();
    if (!user) return false;
    for (int place = 0; place < ItemCatalogue::kItemsPerSet; ++place) {
        const std::string item = catalogue_.itemOfSet(set, place);
        if (item.empty() || !userHasItem(*user, item)) return false;
    }
    return true;
}

int ItemShop::currentSet() const {
    int set = 0;
    while (set < ItemCatalogue::kSetCount && setComplete(set))
        ++set;
    return set;
}

std::string ItemShop::itemForMenu(int menu) const {
    if (menu < 1 || menu > ItemCatalogue::kItemsPerSet) return {};
    return catalogue_.itemOfSet(std::min(currentSet(), ItemCatalogue::kSetCount - 1), menu - 1);
}

std::vector<std::string> ItemShop::offeredVariants(std::string_view baseName) const {
    std::vector<std::string> offered;
    if (const auto user = user_.lock()) {
        for (const std::string& key : catalogue_.variants(baseName)) {
            if (userHasItems(*user, catalogue_.itemRequirements(key))) offered.push_back(key);
        }
    }
    return offered;
}

bool ItemShop::canAfford(std::string_view key) const {
    const auto user = user_.lock();
    return user && user->amountOfResource(kCurrency) >= catalogue_.itemPrice(key);
}

bool ItemShop::isOffered(const kt::KTUser& user, std::string_view key) const {
    return catalogue_.contains(key) && !userHasItem(user, key) && userHasItems(user, catalogue_.itemRequirements(key));
}

ItemShop::Purchase ItemShop::buyItem(const std::string& key) {
    kt::KTLog("buyItem: %@", key);
    const auto user = user_.lock();
    if (!user) return Purchase::notOffered;
    if (userHasItemVariant(*user, key)) {
        kt::KTLog("user already has item %@", key);
        return Purchase::alreadyOwned;
    }
    if (!isOffered(*user, key)) return Purchase::notOffered;
    if (!canAfford(key)) return Purchase::notEnoughPlates;
    // The key goes in before the plates change: a change of plates may save the profiles on its own, and a
    // file with the plates spent must also hold what they bought.
    KTPlist owned = user->objectForKey(kOwnedKey);
    if (!owned.isArray()) owned = KTPlist::emptyArray();
    owned.append(key);
    user->setObject(std::move(owned), kOwnedKey);
    user->subAmount(catalogue_.itemPrice(key), kCurrency);
    kt::KTUserManager::sharedManager().save();
    return Purchase::bought;
}

}  // namespace moonbrook
