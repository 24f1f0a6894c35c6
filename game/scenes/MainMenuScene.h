#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/controls/KTBaseMenuScene.h"

namespace kt {
class KTUser;
}

namespace moonbrook {

class Powerup;

// The hub between levels, laid out by "data/scenes/main_menu.sg.xml": the greeting over the village picture,
// the episode map and the levels of an episode, the challenge level, the decoration shop whose bought items
// appear in the village, the powerup and bonus shop, the credits, the settings and exit popups and the
// profile screens. The layout's handlers and states call the operations below by name.
class MainMenuScene : public kt::KTBaseMenuScene {
public:
    KT_CLASS(MainMenuScene)

    static constexpr const char* kSceneFile = "data/scenes/main_menu.sg.xml";
    static constexpr const char* kMusic = "data/music/mischief_In_suburbia.ogg";
    static constexpr const char* kChallengeLevel = "spooky_challenge";
    static constexpr const char* kCreditsFile = "data/partials/credits.xml";
    static constexpr const char* kWebsiteFile = "website.url";
    static constexpr float kCreditsSeconds = 38.0f;
    static constexpr float kEpisodeScroll = 500.0f;
    static constexpr int kUpgradeMenuCount = 4;

    MainMenuScene() = default;
    ~MainMenuScene() override;
    MainMenuScene(const MainMenuScene&) = delete;
    MainMenuScene& operator=(const MainMenuScene&) = delete;

    void init();
    void onEnterStage() override;
    void keyDown(kt::ButtonName key) override;

    // Greeting, map and levels.
    void setupWelcome();
    void syncEpisodes();
    void showEpisode(const std::string& episodeId);
    void prevEpisode();
    void nextEpisode();
    void showSelectedEpisodeLevels();
    void showMap();
    void startGame();
    void startGameWithLevel(const std::string& levelName);
    void startGameOrPowerupShop();
    void startSpookyChallengeMode();

    // Decoration shop.
    void setupItems();
    void syncButtons();
    void syncUpgradeMenu(const std::string& menu);
    void toggleMenu(const std::string& menu);
    void closeAllMenus();
    void buyItemPopup(const std::string& key);
    void buyItem(const std::string& key);
    void completeBuyItem();
    void cancelBuyItem();
    void previewItem(const std::string& key);
    void hideItem(const std::string& key);
    void showItem(const std::string& key);
    void showItemForTime(const std::string& key, float seconds);

    // Powerup and bonus shop.
    void setupPowerups();
    void upgradePowerup(const std::string& name);
    void degradePowerup(const std::string& name);
    void showPowerupDescription(const std::string& nameAndLevel);
    void hidePowerupDescription(const std::string& nameAndLevel);
    void buyBonus(const std::string& name);
    void sellBonus(const std::string& name);

    void setupUserData() override;
    void runCredits();
    void stopCredits();
    void settingsPopup();
    void settingsPopupBack();
    // The language buttons: the one of the language shown wears its "current" mark; a language without its
    // locale file cannot be chosen.
    void setupLanguageControl();
    // A language code, kept in the selected profile; the menu comes back in that language.
    void chooseLanguage(const std::string& language);
    void exitPopup();
    void exitPopupBack();
    void exit();
    void showDeleteSelectedUser();
    void cancelDeleteSelectedUser();
    void openWebsiteUrl();

    // Level-set panel.
    void setupLevels();
    void setLevel(const std::string& index);
    void startSelectedLevel();

    // A best time in whole seconds as minutes and seconds; "-:-" for none.
    static std::string bestTimeText(int seconds);
    // Plays the level as the map starts it: through the loading screen into the game scene.
    static void startLevel(const std::string& levelName);

private:
    // The player the menu shows; none before the first profile exists.
    static std::shared_ptr<kt::KTUser> selectedUser();
    // The levels of the level-set panel in order, read once.
    const std::vector<std::string>& levelSet();
    void setUpgradeMenuPrice(kt::KTNode& priceNode, int price, bool affordable);
    void offerVariants(kt::KTNode& menu, const std::vector<std::string>& variants);
    void setItemNodeState(const std::string& key, const std::string& state);
    void setChildVisible(kt::KTNode& parent, const char* child, bool visible);
    void setNodeText(const std::string& nodeName, const std::string& text);
    void loadInto(const std::string& nodeName, const std::string& file);
    void refreshShopWallet();
    void returnFromPurchase();
    void changePowerup(const std::string& name, void (Powerup::*change)());
    void showInNewLanguage();

    std::string selectedLevelName_;
    std::string buyingItemName_;
    // The state the purchase popup returns to.
    std::string buyingItemPrevState_;
    std::string selectedEpisodeId_;
    int selectedLevelIndex_ = -1;
    std::optional<std::vector<std::string>> levelSet_;
    // A menu loaded again in another language starts in the state of the one it replaces, with the settings
    // open when they were.
    std::string resumeState_;
    bool resumeSettings_ = false;
    bool replaced_ = false;
};

}  // namespace moonbrook
