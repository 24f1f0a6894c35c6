#include "game/scenes/MainMenuScene.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/controls/KTDragBox.h"
#include "engine/controls/KTProgress.h"
#include "engine/controls/KTVariantContainer.h"
#include "engine/core/KTContentLog.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLanguage.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScheduler.h"
#include "engine/core/KTState.h"
#include "engine/core/KTTextValues.h"
#include "engine/services/KTAudioManager.h"
#include "engine/services/KTSettingsManager.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/ContentFile.h"
#include "game/progress/BonusManager.h"
#include "game/progress/ItemShop.h"
#include "game/progress/LevelManager.h"
#include "game/progress/PowerupManager.h"
#include "game/scenes/GameScene.h"
#include "game/scenes/PreloadScene.h"

namespace moonbrook {

namespace {

constexpr const char* kStoryPreloadList = "data/preload_story.plist";
constexpr const char* kLevelSetFile = "data/levelset.xml";
// A language button is named after its language: "language_de".
constexpr const char* kLanguageButtonPrefix = "language_";

LevelManager& levels() {
    return LevelManager::sharedManager();
}

// A level can be played once completed, and the first uncompleted level of all is the one to play next.
bool levelOpen(const std::string& level) {
    return levels().levelCompleted(level) || levels().firstUncompletedLevel() == level;
}

bool challengeLevelExists() {
    return kt::KTResourceManager::shared().getPath(kt::KTFormat("data/levels/%@.xml", MainMenuScene::kChallengeLevel))
        .has_value();
}

// The file beside the program holds one address, as an internet shortcut's "URL=" line or bare; a missing
// file or one without an address is logged once.
std::optional<std::string> websiteUrl() {
    std::ifstream file(kt::KTResourceManager::shared().baseDataPath() + MainMenuScene::kWebsiteFile);
    if (!file) {
        kt::KTLogContentProblem("file not found", MainMenuScene::kWebsiteFile);
        return std::nullopt;
    }
    std::string line;
    while (std::getline(file, line)) {
        const auto start = line.find("URL=");
        const std::string candidate = start == std::string::npos ? line : line.substr(start + 4);
        if (candidate.starts_with("http://") || candidate.starts_with("https://")) return candidate;
    }
    kt::KTLogContentProblem("no web address", MainMenuScene::kWebsiteFile);
    return std::nullopt;
}

// The level's gold time in seconds, written by the editor as text; none when the level has no such mark.
std::optional<float> goldTime(const std::string& level) {
    const auto file = readContentFile(kt::KTFormat("data/levels/%@.xml", level));
    if (!file) return std::nullopt;
    const kt::KTPlist& gold = (*file)["options"]["gold_time"];
    if (gold.isNumber()) return static_cast<float>(gold.realValue());
    if (gold.isString() && !gold.stringValue().empty())
        return static_cast<float>(kt::KTLeadingReal(gold.stringValue()));
    return std::nullopt;
}

// The look of a level-set button: no medal before the level is won.
std::string medalFor(const std::string& level) {
    const std::optional<float> best = levels().bestTime(level);
    if (!best) return "plain";
    const std::optional<float> gold = goldTime(level);
    return gold && *best <= *gold ? "gold" : "silver";
}

}  // namespace

std::shared_ptr<kt::KTUser> MainMenuScene::selectedUser() {
    return kt::KTUserManager::sharedManager().selectedUser();
}

const kt::KTClass& MainMenuScene::staticClass() {
    static const kt::KTClass& cls =
        kt::KTClass::define<MainMenuScene>("MainMenuScene", kt::KTBaseMenuScene::staticClass())
            .operation("init", &MainMenuScene::init)
            .operation("setupWelcome", &MainMenuScene::setupWelcome)
            .operation("syncEpisodes", &MainMenuScene::syncEpisodes)
            .operation("showEpisode:", &MainMenuScene::showEpisode)
            .operation("prevEpisode", &MainMenuScene::prevEpisode)
            .operation("nextEpisode", &MainMenuScene::nextEpisode)
            .operation("showSelectedEpisodeLevels", &MainMenuScene::showSelectedEpisodeLevels)
            .operation("showMap", &MainMenuScene::showMap)
            .operation("startGame", &MainMenuScene::startGame)
            .operation("startGame:", &MainMenuScene::startGameWithLevel)
            .operation("startGameOrPowerupShop", &MainMenuScene::startGameOrPowerupShop)
            .operation("startSpookyChallengeMode", &MainMenuScene::startSpookyChallengeMode)
            .operation("setupItems", &MainMenuScene::setupItems)
            .operation("syncButtons", &MainMenuScene::syncButtons)
            .operation("syncUpgradeMenu:", &MainMenuScene::syncUpgradeMenu)
            .operation("toggleMenu:", &MainMenuScene::toggleMenu)
            .operation("closeAllMenus", &MainMenuScene::closeAllMenus)
            .operation("buyItemPopup:", &MainMenuScene::buyItemPopup)
            .operation("buyItem:", &MainMenuScene::buyItem)
            .operation("completeBuyItem", &MainMenuScene::completeBuyItem)
            .operation("cancelBuyItem", &MainMenuScene::cancelBuyItem)
            .operation("previewItem:", &MainMenuScene::previewItem)
            .operation("hideItem:", &MainMenuScene::hideItem)
            .operation("showItem:", &MainMenuScene::showItem)
            .operation("setupPowerups", &MainMenuScene::setupPowerups)
            .operation("upgradePowerup:", &MainMenuScene::upgradePowerup)
            .operation("degradePowerup:", &MainMenuScene::degradePowerup)
            .operation("showPowerupDescription:", &MainMenuScene::showPowerupDescription)
            .operation("hidePowerupDescription:", &MainMenuScene::hidePowerupDescription)
            .operation("buyBonus:", &MainMenuScene::buyBonus)
            .operation("sellBonus:", &MainMenuScene::sellBonus)
            .operation("setupUserData", &MainMenuScene::setupUserData)
            .operation("runCredits", &MainMenuScene::runCredits)
            .operation("stopCredits", &MainMenuScene::stopCredits)
            .operation("settings_popup", &MainMenuScene::settingsPopup)
            .operation("settings_popup_back", &MainMenuScene::settingsPopupBack)
            .operation("chooseLanguage:", &MainMenuScene::chooseLanguage)
            .operation("exit_popup", &MainMenuScene::exitPopup)
            .operation("exit_popup_back", &MainMenuScene::exitPopupBack)
            .operation("exit", &MainMenuScene::exit)
            .operation("showDeleteSelectedUser", &MainMenuScene::showDeleteSelectedUser)
            .operation("cancelDeleteSelectedUser", &MainMenuScene::cancelDeleteSelectedUser)
            .operation("openWebsiteUrl", &MainMenuScene::openWebsiteUrl)
            .operation("setupLevels", &MainMenuScene::setupLevels)
            .operation("setLevel:", &MainMenuScene::setLevel)
            .operation("startSelectedLevel", &MainMenuScene::startSelectedLevel);
    return cls;
}
KT_REGISTER_CLASS(MainMenuScene);

MainMenuScene::~MainMenuScene() {
    kt::KTNotificationCenter::shared().removeObserver(this);
}

void MainMenuScene::init() {
    loadFromFile(kSceneFile);
    selectedLevelName_.clear();
    buyingItemName_.clear();
    buyingItemPrevState_.clear();
    selectedEpisodeId_.clear();
    selectedLevelIndex_ = -1;
    BonusManager::setResource(std::string(kt::KTUser::kTokens));
    auto& center = kt::KTNotificationCenter::shared();
    center.addObserver(this, std::string(kt::KTUserManager::kUserListChanged), nullptr,
                       [this](const kt::KTNotification&) { setupUserData(); });
    center.addObserver(this, std::string(kt::KTSettingsManager::kLanguageChanged), nullptr,
                       [this](const kt::KTNotification&) { showInNewLanguage(); });
}

void MainMenuScene::onEnterStage() {
    kt::KTBaseMenuScene::onEnterStage();
    // A first state handed over by the loading step follows once the stage is entered.
    if (!selectedUser()) {
        showAddFirstUser();
    } else if (firstState().empty()) {
        setState(resumeState_.empty() ? "default" : resumeState_);
    }
    kt::KTAudioManager::shared().playMusic(kMusic);
    setupUserData();
    if (resumeSettings_) settingsPopup();
}

void MainMenuScene::keyDown(kt::ButtonName key) {
    if (kt::KTDirector::shared().devMode()) {
        const auto user = selectedUser();
        if (key == kt::kbF3) kt::KTScheduler::shared().logTargets();
        if (user && (key == kt::kbF5 || key == kt::kbF6)) {
            if (key == kt::kbF5) user->addAmount(100, ItemShop::kCurrency);
            if (key == kt::kbF6) user->addTokens(100);
            kt::KTUserManager::sharedManager().save();
            refreshShopWallet();
            syncButtons();
        }
    }
    kt::KTBaseMenuScene::keyDown(key);
}

void MainMenuScene::setNodeText(const std::string& nodeName, const std::string& text) {
    if (const auto node = getChildByName(nodeName)) node->setText(text);
}

void MainMenuScene::setChildVisible(kt::KTNode& parent, const char* child, bool visible) {
    if (const auto node = parent.getChildByName(child)) node->setVisible(visible);
}

void MainMenuScene::loadInto(const std::string& nodeName, const std::string& file) {
    const auto node = getChildByName(nodeName);
    if (!node) return;
    node->removeAllChildren();
    if (kt::KTResourceManager::shared().getXML(file)) node->loadFromFile(file);
}

void MainMenuScene::setupWelcome() {
    const auto user = selectedUser();
    if (!user) return;
    setNodeText("welcome_text", kt::KTLocalizeFormat("Welcome, %@", user->name()));
    if (const auto challenge = getChildByName("challenge_button")) challenge->setEnabled(challengeLevelExists());
    const kt::KTPlist& best = user->objectForKey("best_endless_score");
    setNodeText("best_endless_score", best.isNumber() ? kt::KTFormat("%i", static_cast<int>(best.intValue())) : "0");
}

// An episode opens when it or the one before is completed; one without levels has nothing to open.
void MainMenuScene::syncEpisodes() {
    const auto box = std::dynamic_pointer_cast<kt::KTDragBox>(getChildByName("episodes_dragbox"));
    if (!box) return;
    const LevelManager& manager = levels();
    for (std::size_t episode = 1; episode <= manager.episodeCount(); ++episode) {
        const auto button = box->getChildByName(kt::KTFormat("eb%i", static_cast<int>(episode)));
        if (!button) continue;
        const std::size_t total = manager.totalLevelCountForEpisode(episode);
        const std::size_t completed = manager.completedLevelCountForEpisode(episode);
        const bool open = episode == 1 || (total > 0 && (manager.episodeCompleted(episode) ||
                                                         manager.episodeCompleted(episode - 1)));
        button->setEnabled(open);
        if (const auto count = button->getChildByName("completedLevelsCount"))
            count->setText(kt::KTFormat("%i", static_cast<int>(completed)));
        if (const auto count = button->getChildByName("totalLevelsCount"))
            count->setText(kt::KTFormat("%i", static_cast<int>(total)));
        if (const auto bar = std::dynamic_pointer_cast<kt::KTProgress>(button->getChildByName("episodeProgress")))
            bar->setValue(total ? static_cast<float>(completed) / static_cast<float>(total) : 0.0f);
    }
    const auto current = box->getChildByName(kt::KTFormat("eb%i", static_cast<int>(manager.currentEpisode())));
    if (current) box->scrollTo(current->center(), true);
}

void MainMenuScene::showEpisode(const std::string& episodeId) {
    selectedEpisodeId_ = episodeId;
    showSelectedEpisodeLevels();
}

void MainMenuScene::prevEpisode() {
    if (const auto box = std::dynamic_pointer_cast<kt::KTDragBox>(getChildByName("episodes_dragbox")))
        box->scrollChild({kEpisodeScroll, 0});
}

void MainMenuScene::nextEpisode() {
    if (const auto box = std::dynamic_pointer_cast<kt::KTDragBox>(getChildByName("episodes_dragbox")))
        box->scrollChild({-kEpisodeScroll, 0});
}

void MainMenuScene::showSelectedEpisodeLevels() {
    if (selectedEpisodeId_.empty()) {
        selectedEpisodeId_ = kt::KTFormat("%i", static_cast<int>(levels().currentEpisode()));
        kt::KTLog("showSelectedEpisodeLevels episodeId: %@", selectedEpisodeId_);
    }
    const auto panel = getChildByName("levels");
    const auto* names = levels().episodeLevels(static_cast<std::size_t>(std::atoi(selectedEpisodeId_.c_str())));
    if (!panel || !names) return;
    for (const auto& button : panel->children()) button->setVisible(false);
    bool previousCompleted = true;
    for (std::size_t k = 0; k < names->size(); ++k) {
        const std::string& level = (*names)[k];
        const auto button = panel->getChildByName(kt::KTFormat("l%i", static_cast<int>(k)));
        const bool completed = levels().levelCompleted(level);
        const bool open = completed || previousCompleted;
        previousCompleted = completed;
        if (!button) continue;
        if (const auto number = button->getChildByName("number"))
            number->setText(kt::KTFormat("%i", static_cast<int>(levels().levelPosition(level)) + 1));
        button->setOnClick("startGame:", level);
        button->setVisible(true);
        button->setEnabled(open);
        setChildVisible(*button, "locked", !open);
        setChildVisible(*button, "number", open);
        if (const auto stars = std::dynamic_pointer_cast<kt::KTVariantContainer>(button->getChildByName("stars"))) {
            stars->setVisible(open);
            stars->selectChildByName(kt::KTFormat("%i", completed ? levels().levelStars(level) : 0));
        }
    }
    setState("episode_levels");
}

// Everything played shows the finished map. A first player meets the story when there is one to tell.
void MainMenuScene::showMap() {
    const auto next = levels().firstUncompletedLevel();
    if (!next) {
        setState("map");
        setState("all_levels_complete");
        return;
    }
    if (levels().levelPosition(*next) == 0 && kt::KTClass::named("StoryScene")) {
        PreloadScene::loadScene({"StoryScene", "", std::nullopt, ""}, kStoryPreloadList);
        return;
    }
    setState("map");
}

void MainMenuScene::startGameWithLevel(const std::string& levelName) {
    if (!levelOpen(levelName)) return;
    kt::KTLog("startGame: level: %@", levelName);
    startLevel(levelName);
}

void MainMenuScene::startGame() {
    const auto next = levels().firstUncompletedLevel();
    if (!next) return;
    kt::KTLog("startGame level: %@", *next);
    startLevel(*next);
}

void MainMenuScene::startLevel(const std::string& levelName) {
    PreloadScene::loadScene({"GameScene", "initWithLevel:", levelName, ""}, PreloadScene::kGamePreloadList);
}

void MainMenuScene::startGameOrPowerupShop() {
    if (PowerupManager::currentPowerupManager().canBuySomething() ||
        BonusManager::currentManager().canBuySomething()) {
        setState("powerup_shop");
        return;
    }
    startGame();
}

// The challenge level is a level file like any other, named without its extension.
void MainMenuScene::startSpookyChallengeMode() {
    if (!challengeLevelExists()) {
        kt::KTLog("MainMenuScene: no challenge level data/levels/%@.xml", kChallengeLevel);
        return;
    }
    auto game = kt::KTNode::node<GameScene>();
    game->init();
    game->setLevel(kChallengeLevel);
    kt::KTDirector::shared().setScene(std::move(game));
}

void MainMenuScene::setupUserData() {
    setupWelcome();
    setupPowerups();
    setupItems();
    syncEpisodes();
}

void MainMenuScene::runCredits() {
    setState("credits");
    const auto credits = getChildByName("credits");
    if (!credits) return;
    loadInto("credits", kCreditsFile);
    // Without an address there is nothing for the button to open.
    if (const auto website = getChildByName("website_button")) website->setVisible(websiteUrl().has_value());
    credits->setVisible(true);
    credits->setY(768);
    credits->stopAllActions();
    credits->runAction(kt::KTSequence::actions(
        {kt::KTMoveTo::actionWithDuration(kCreditsSeconds, {credits->x(), -credits->h()}), kt::KTHide::action()}));
}

void MainMenuScene::stopCredits() {
    setState("default");
    const auto credits = getChildByName("credits");
    if (!credits) return;
    credits->stopAllActions();
    credits->removeAllChildren();
    credits->setVisible(false);
}

void MainMenuScene::settingsPopup() {
    if (const auto popup = getChildByName("settings_popup")) popup->setVisible(true);
    setupWindowControl();
    setupVolumeControl();
    setupLanguageControl();
}

void MainMenuScene::settingsPopupBack() {
    if (const auto popup = getChildByName("settings_popup")) popup->setVisible(false);
}

void MainMenuScene::setupLanguageControl() {
    const auto choice = getChildByName("language_choice");
    if (!choice) return;
    const std::string current = kt::KTLanguage::current();
    const std::string_view prefix = kLanguageButtonPrefix;
    for (const auto& button : choice->children()) {
        if (!button->name().starts_with(prefix)) continue;
        const std::string language = button->name().substr(prefix.size());
        button->setEnabled(kt::KTLanguage::available(language));
        if (const auto mark = button->getChildByName("current")) mark->setVisible(language == current);
    }
}

void MainMenuScene::chooseLanguage(const std::string& language) {
    kt::KTSettingsManager::sharedManager().chooseLanguage(language);
    setupLanguageControl();
}

// Texts are translated as a scene file is loaded, so the menu is loaded anew to show the new language.
void MainMenuScene::showInNewLanguage() {
    if (replaced_) return;
    replaced_ = true;
    auto menu = kt::KTNode::node<MainMenuScene>();
    menu->init();
    menu->resumeState_ = currentState() ? currentState()->name : "";
    const auto settings = getChildByName("settings_popup");
    menu->resumeSettings_ = settings && settings->visible();
    kt::KTDirector::shared().setScene(std::move(menu));
}

void MainMenuScene::exitPopup() {
    if (const auto popup = getChildByName("exit_popup")) popup->setVisible(true);
}

void MainMenuScene::exitPopupBack() {
    if (const auto popup = getChildByName("exit_popup")) popup->setVisible(false);
}

void MainMenuScene::exit() {
    kt::KTDirector::shared().close();
}

void MainMenuScene::showDeleteSelectedUser() {
    const auto user = selectedUser();
    if (!user) return;
    setNodeText("delete_user_name", user->name());
    setState("delete_user");
    if (const auto button = getChildByName("final_delete_user_button")) button->setEnabled(true);
}

void MainMenuScene::cancelDeleteSelectedUser() {
    setState("users");
    if (const auto button = getChildByName("final_delete_user_button")) button->setEnabled(false);
}

void MainMenuScene::openWebsiteUrl() {
    const auto url = websiteUrl();
    if (!url) return;
    if (SDL_OpenURL(url->c_str()) != 0) kt::KTLog("MainMenuScene: cannot open %@: %@", *url, SDL_GetError());
}

const std::vector<std::string>& MainMenuScene::levelSet() {
    if (!levelSet_) {
        levelSet_.emplace();
        if (const auto file = readContentFile(kLevelSetFile)) {
            for (const kt::KTPlist& name : file->arrayValue()) {
                if (name.isString()) levelSet_->push_back(name.stringValue());
            }
        }
    }
    return *levelSet_;
}

// Every open level can be chosen, and the choice starts on the one to play next (past the end when all are
// played). A button shows gold for a best time at or under the level's gold time and silver for a slower one.
void MainMenuScene::setupLevels() {
    const std::vector<std::string>& set = levelSet();
    const auto next = levels().firstUncompletedLevel();
    const auto nextIndex = next ? std::ranges::find(set, *next) - set.begin() : std::ssize(set);
    setLevel(kt::KTFormat("%i", static_cast<int>(nextIndex)));
    for (std::size_t k = 0; k < set.size(); ++k) {
        const auto button = getChildByName(kt::KTFormat("lb%i", static_cast<int>(k)));
        if (!button) continue;
        if (const auto look = std::dynamic_pointer_cast<kt::KTVariantContainer>(button->getChildByName("default")))
            look->selectChildByName(medalFor(set[k]));
        button->setEnabled(levelOpen(set[k]));
    }
}

void MainMenuScene::setLevel(const std::string& index) {
    if (const auto previous = getChildByName(kt::KTFormat("lb%i", selectedLevelIndex_)))
        setChildVisible(*previous, "level_selection", false);
    selectedLevelIndex_ = std::atoi(index.c_str());
    if (const auto button = getChildByName(kt::KTFormat("lb%i", selectedLevelIndex_)))
        setChildVisible(*button, "level_selection", true);
    const std::vector<std::string>& set = levelSet();
    const bool beyond = selectedLevelIndex_ >= static_cast<int>(set.size()) || selectedLevelIndex_ < 0;
    for (const char* name : {"level_name", "level_name_label"}) {
        if (const auto node = getChildByName(name)) node->setVisible(!beyond);
    }
    if (const auto label = getChildByName("levels_complete_label")) label->setVisible(beyond);
    selectedLevelName_ = beyond ? std::string() : set[static_cast<std::size_t>(selectedLevelIndex_)];
    if (!beyond) setNodeText("level_name", kt::KTFormat("%i", selectedLevelIndex_ + 1));
    const std::optional<float> best = beyond ? std::nullopt : levels().bestTime(selectedLevelName_);
    setNodeText("best_time", bestTimeText(best ? static_cast<int>(*best) : 0));
}

void MainMenuScene::startSelectedLevel() {
    startGameWithLevel(selectedLevelName_);
}

std::string MainMenuScene::bestTimeText(int seconds) {
    if (seconds <= 0) return "-:-";
    return kt::KTFormat("%02d:%02d", (seconds / 60) % 60, seconds % 60);
}

}  // namespace moonbrook
