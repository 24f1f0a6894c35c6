#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"

namespace moonbrook::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* kSkipOpening =
    "wait-state v1 30\nclick-node backdrop\nwait-state v4 200\n"
    "click-node title_screen\nwait-scene MainMenuScene 600\n";

// The program started on its main menu, each test with player profiles of its own and the game's content.
class MenuProgramTest : public ProgramRunTest {
protected:
    MenuProgramTest() { folder_.linkContent(MOONBROOK_CONTENT_DATA); }

    // Runs the script on the menu, reached through the opening pictures hurried by clicks, or on the first
    // screen the further arguments ask for; then quits. The exit code.
    std::optional<int> run(const std::string& script, const std::vector<std::string>& more = {},
                           const GameProcess::Environment& environment = {}) {
        return runFromStart((more.empty() ? std::string(kSkipOpening) : "") + script, more, environment);
    }
    // The same without hurrying the opening pictures.
    std::optional<int> runFromStart(const std::string& script, const std::vector<std::string>& more = {},
                                    const GameProcess::Environment& environment = {}) {
        return runScript(script + "quit\n", more, environment);
    }

    // A small German table in the test's own locale folder, in place of the game's.
    void writeGermanLocale() const {
        // The content's locale folder is linked whole; the link goes.
        fs::remove(folder_.path() / "data/locales");
        fs::create_directories(folder_.path() / "data/locales");
        folder_.write("data/locales/de.plist",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<plist version=\"1.0\"><dict><key>strings</key><dict>"
                      "<key>Welcome, %@</key><string>Willkommen, %@</string><key>Settings</key>"
                      "<string>Einstellungen</string><key>Language</key><string>Sprache</string>"
                      "<key>Players</key><string>Spieler</string></dict></dict></plist>\n");
    }

    nlohmann::json profile(const std::string& file) const { return dumped(file)["users"][0]; }
};

// The first name field has the keys at once: what the player types follows the prefilled name, and Return
// adds it. Further profiles are added on the players' screen.
TEST_F(MenuProgramTest, TheFirstStartMakesAProfileAndOthersAreAddedRefusedWhenTakenOrTooManyAndDeleted) {
    ASSERT_EQ(
        run("wait-state add_first_user 60\nwait 10\ndump scene first.json\n"
            "text Jo\nkey Return\nwait-state default 60\nwait 5\n"
            "dump scene welcome.json\ndump profiles profiles.json\n"
            "click-node users_button\nwait-state users 30\n"
            "click-node add_user_button\nwait-state add_user 30\ntext Bob\nkey Return\n"
            "wait-state users 30\ndump profiles added.json\n"
            "click-node add_user_button\nwait-state add_user 30\ntext Bob\nclick-node add_user_ok\nwait 20\n"
            "dump scene taken.json\nclick-node user_exists_ok\nwait 30\nclick-node add_user_cancel\n"
            "wait-state users 30\nclick-node delete_user_button\nwait-state delete_user 30\n"
            "click-node cancel_delete_button\nwait-state users 30\ndump profiles kept.json\n"
            "click-node delete_user_button\nwait-state delete_user 30\n"
            "click-node final_delete_user_button\nwait-state users 30\ndump profiles deleted.json\n"),
        0)
        << errorOutput_;
    const std::string prefilled = node(dumped("first.json"), "first_username_input")["text"];
    ASSERT_FALSE(prefilled.empty());
    // The field holds 16 characters.
    const std::string name = (prefilled + "Jo").substr(0, 16);
    const nlohmann::json profiles = dumped("profiles.json");
    ASSERT_EQ(profiles["users"].size(), 1u);
    EXPECT_EQ(profiles["users"][0]["name"], name);
    EXPECT_EQ(profiles["selected"], name);
    const nlohmann::json welcome = dumped("welcome.json");
    EXPECT_EQ(node(welcome, "welcome_text")["text"], "Welcome, " + name);
    EXPECT_TRUE(node(welcome, "welcome_panel")["visible"].get<bool>());
    EXPECT_FALSE(node(welcome, "add_first_user_popup")["visible"].get<bool>());

    const nlohmann::json added = dumped("added.json");
    ASSERT_EQ(added["users"].size(), 2u);
    EXPECT_EQ(added["selected"], "Bob");
    EXPECT_TRUE(node(dumped("taken.json"), "user_exists_ok")["visible"].get<bool>());
    EXPECT_EQ(dumped("kept.json")["users"].size(), 2u);
    const nlohmann::json deleted = dumped("deleted.json");
    ASSERT_EQ(deleted["users"].size(), 1u);
    EXPECT_EQ(deleted["users"][0]["name"], name);

    writeProfiles(
        {{"P0", ""}, {"P1", ""}, {"P2", ""}, {"P3", ""}, {"P4", ""}, {"P5", ""}, {"P6", ""}, {"P7", ""}},
        "P0");
    ASSERT_EQ(run("wait-state default 60\nclick-node users_button\nwait-state users 30\n"
                  "click-node add_user_button\nwait-state too_many_users 30\nwait 10\ndump scene full.json\n"
                  "dump profiles full_profiles.json\n"),
              0)
        << errorOutput_;
    EXPECT_TRUE(node(dumped("full.json"), "too_many_users_popup")["visible"].get<bool>());
    EXPECT_EQ(dumped("full_profiles.json")["users"].size(), 8u);
}

// Level 001 won under its gold time of 7 s, 002 in 500 s (over its 46): three stars and one. A language
// in the profile that is damaged gives way to the environment's.
TEST_F(MenuProgramTest,
       TheMapAndLevelSetShowStarsMedalsAndTimesStartOnlyOpenLevelsAndAWinOpensTheNextDespiteABadLanguage) {
    writeGermanLocale();
    folder_.write("devmode", "");
    writeProfile(std::string(kAllTutorials) +
                 "<key>language</key><integer>7</integer><key>levelResults</key>"
                 "<dict><key>001</key><real>5</real><key>002</key><real>500</real></dict>");
    ASSERT_EQ(run("wait-state default 60\nwait 5\ndump scene menu.json\nclick-node play_button\n"
                  "wait-state map 30\nwait 30\ndump scene map.json\nscreenshot map.png\n"
                  "click-node eb1\nwait-state episode_levels 30\nwait 30\ndump scene levels.json\n"
                  "screenshot levels.png\nclick-node l3\nwait 30\ndump scene locked.json\n"
                  "click-node l2\nwait-scene GameScene 600\nwait 30\ndump profiles profiles.json\n"
                  "key Escape\nwait-state pause 30\nwait 40\nclick-node map_button\n"
                  "wait-scene MainMenuScene 600\nwait-state map 60\nwait 5\ndump scene back.json\n"
                  "click-node level_set_button\nwait-state level_set 30\nwait 30\ndump scene opened.json\n"
                  "screenshot level_set.png\nclick-node lb1\nwait 5\ndump scene second.json\n"
                  "click-node lb3\nwait 5\ndump scene locked_set.json\n"
                  "click-node lb0\nwait 5\nclick-node lb2\nwait 5\ndump scene third.json\n"
                  "click-node level_set_play_button\nwait-scene GameScene 600\nwait 10\nkey w\n"
                  "wait-state win 200\nwait 60\nclick-node to_map_button\nwait-scene PreloadScene 10\n"
                  "dump scene loading.json\nwait-scene MainMenuScene 300\nwait 5\ndump scene won.json\n"
                  "click-node eb1\nwait-state episode_levels 30\nwait 5\ndump scene next.json\n",
                  {}, {{"LANG", "de_DE.UTF-8"}}),
              0)
        << errorOutput_;
    EXPECT_EQ(node(dumped("menu.json"), "welcome_text")["text"], "Willkommen, Ann");
    EXPECT_EQ(profile("profiles.json")["name"], "Ann");
    const nlohmann::json map = dumped("map.json");
    EXPECT_TRUE(node(map, "eb1")["enabled"].get<bool>());
    EXPECT_FALSE(node(map, "eb2")["enabled"].get<bool>());
    EXPECT_EQ(childOf(map, "eb1", "completedLevelsCount")["text"], "2");
    EXPECT_EQ(childOf(map, "eb1", "totalLevelsCount")["text"], "12");

    const nlohmann::json levels = dumped("levels.json");
    EXPECT_EQ(childOf(levels, "l0", "stars")["selected"], "3");
    EXPECT_EQ(childOf(levels, "l1", "stars")["selected"], "1");
    EXPECT_EQ(childOf(levels, "l2", "stars")["selected"], "0");
    EXPECT_FALSE(childOf(levels, "l2", "locked")["visible"].get<bool>());
    EXPECT_EQ(childOf(levels, "l2", "number")["text"], "3");
    EXPECT_TRUE(childOf(levels, "l3", "locked")["visible"].get<bool>());
    EXPECT_FALSE(node(levels, "l3")["enabled"].get<bool>());
    // The locked level did not start; the open one did, and leaving it arrives on the map.
    EXPECT_EQ(dumped("locked.json")["state"], "episode_levels");
    const std::string log = folder_.read(kLog);
    EXPECT_EQ(log.find("startGame: level: 004"), std::string::npos);
    EXPECT_NE(log.find("GameScene setLevel: 003"), std::string::npos);
    const nlohmann::json back = dumped("back.json");
    EXPECT_EQ(back["class"], "MainMenuScene");
    EXPECT_TRUE(node(back, "map_panel")["visible"].get<bool>());

    const nlohmann::json opened = dumped("opened.json");
    EXPECT_EQ(childOf(opened, "lb0", "default")["selected"], "gold");
    EXPECT_EQ(childOf(opened, "lb1", "default")["selected"], "silver");
    EXPECT_EQ(childOf(opened, "lb2", "default")["selected"], "plain");
    EXPECT_TRUE(node(opened, "lb2")["enabled"].get<bool>());
    EXPECT_FALSE(node(opened, "lb3")["enabled"].get<bool>());
    EXPECT_FALSE(node(opened, "lb47")["enabled"].get<bool>());
    // The panel opens on the level to play next, which has no best time yet.
    EXPECT_TRUE(childOf(opened, "lb2", "level_selection")["visible"].get<bool>());
    EXPECT_EQ(node(opened, "level_name")["text"], "3");
    EXPECT_EQ(node(opened, "best_time")["text"], "-:-");
    const nlohmann::json second = dumped("second.json");
    EXPECT_EQ(node(second, "level_name")["text"], "2");
    EXPECT_EQ(node(second, "best_time")["text"], "08:20");
    EXPECT_FALSE(childOf(second, "lb2", "level_selection")["visible"].get<bool>());
    EXPECT_TRUE(childOf(second, "lb1", "level_selection")["visible"].get<bool>());
    // A locked level is not chosen.
    EXPECT_EQ(node(dumped("locked_set.json"), "level_name")["text"], "2");
    EXPECT_EQ(node(dumped("third.json"), "level_name")["text"], "3");
    // Level 003 started once from the map and once from the level set.
    EXPECT_EQ(occurrences(log, "startGame: level: 003"), 2u);

    // Won at once in development mode, it leads through the loading screen back to the map with level 004
    // open.
    EXPECT_EQ(dumped("loading.json")["class"], "PreloadScene");
    EXPECT_NE(findNode(dumped("loading.json")["tree"], "load_progress"), nullptr);
    EXPECT_NE(folder_.read(kLog).find("PreloadScene onExitStage"), std::string::npos);
    EXPECT_EQ(dumped("won.json")["class"], "MainMenuScene");
    EXPECT_EQ(dumped("won.json")["state"], "map");
    const nlohmann::json next = dumped("next.json");
    EXPECT_NE(childOf(next, "l2", "stars")["selected"], "0");
    EXPECT_EQ(childOf(next, "l3", "stars")["selected"], "0");
    EXPECT_TRUE(node(next, "l3")["enabled"].get<bool>());
    EXPECT_FALSE(node(next, "l4")["enabled"].get<bool>());
}

// Plates buy the cheapest variant of the first decoration and nothing more; tokens buy a powerup level and a
// bonus and get them back when sold. What the profile holds is saved.
TEST_F(MenuProgramTest, DecorationsAreBoughtForPlatesAndStayPowerupsAndBonusesAreBoughtAndSoldForTokens) {
    const std::string buy =
        "wait-state default 60\nwait 10\nclick-node b\nwait 20\nclick-node b1\n"
        "wait-state upgrade_popup 30\nwait 20\ndump scene popup.json\nscreenshot popup.png\n"
        "click-node buy_button\nwait 40\ndump scene after.json\ndump profiles wallet.json\n";
    writeProfile("<key>plates</key><integer>20</integer>");
    ASSERT_EQ(run(buy), 0) << errorOutput_;
    EXPECT_FALSE(node(dumped("popup.json"), "buy_button")["enabled"].get<bool>());
    EXPECT_EQ(profile("wallet.json")["plates"], 20);
    EXPECT_TRUE(profile("wallet.json")["items"].is_null());

    writeProfile("<key>plates</key><integer>100</integer><key>tokens</key><integer>14</integer>");
    ASSERT_EQ(run(buy), 0) << errorOutput_;
    const nlohmann::json wallet = profile("wallet.json");
    EXPECT_EQ(wallet["plates"], 30);
    EXPECT_EQ(wallet["items"], nlohmann::json::parse(R"(["fence_peppermint"])"));
    EXPECT_EQ(node(dumped("after.json"), "fence_peppermint")["state"], "visible");
    EXPECT_EQ(dumped("after.json")["state"], "default");

    ASSERT_EQ(run("wait-state default 60\nwait 30\ndump scene restarted.json\nscreenshot village.png\n"
                  "dump profiles kept_wallet.json\nclick-node shop_button\nwait-state powerup_shop 30\n"
                  "wait 10\nclick-node upgrade_button\nwait 10\nclick-node buy_button\nwait 10\n"
                  "dump profiles bought.json\ndump scene shop.json\n"
                  "click-node degrade_button\nwait 10\nclick-node sell_button\nwait 10\n"
                  "dump profiles sold.json\n"),
              0)
        << errorOutput_;
    EXPECT_EQ(profile("kept_wallet.json")["plates"], 30);
    const nlohmann::json restarted = dumped("restarted.json");
    EXPECT_EQ(node(restarted, "fence_peppermint")["state"], "visible");
    EXPECT_TRUE(childOf(restarted, "upgrade_menu_1", "check")["visible"].get<bool>());
    EXPECT_EQ(node(restarted, "plates_count")["text"], "30");

    const nlohmann::json bought = profile("bought.json");
    EXPECT_EQ(bought["tokens"], 14 - 5 - 6);
    EXPECT_EQ(bought["powerups"]["hammer"]["maxLevel"], 1);
    EXPECT_EQ(bought["bonuses"], nlohmann::json::parse(R"(["bomb"])"));
    const nlohmann::json shop = dumped("shop.json");
    EXPECT_EQ(childOf(shop, "powerup_hammer", "level")["text"], "1 / 3");
    EXPECT_TRUE(childOf(shop, "bonus_bomb", "sell_button")["visible"].get<bool>());
    // With 3 tokens left the next hammer level (10) is out of reach.
    EXPECT_FALSE(childOf(shop, "powerup_hammer", "upgrade_button")["enabled"].get<bool>());
    const nlohmann::json sold = profile("sold.json");
    EXPECT_EQ(sold["tokens"], 14);
    EXPECT_EQ(sold["powerups"]["hammer"]["maxLevel"], 0);
    EXPECT_TRUE(sold["bonuses"].empty());
}

// The credits roll for their 38 seconds. The website button shows only when the file beside the program
// holds an address, which it hands to the desktop's opener (here a stand-in on the PATH that notes it).
TEST_F(MenuProgramTest, TheCreditsRollAndTheWebsiteButtonOpensTheAddressBesideTheProgram) {
    writeProfile("");
    folder_.write("website.url", "[InternetShortcut]\nURL=not an address\n");
    const std::string credits =
        "wait-state default 60\nclick-node credits_button\nwait-state credits 30\nwait 5\n"
        "dump scene start.json\n";
    ASSERT_EQ(run(credits + "wait 600\ndump scene later.json\nclick-node credits_close_button\n"
                            "wait-state default 30\ndump scene closed.json\nclick-node credits_button\n"
                            "wait-state credits 30\n"),
              0)
        << errorOutput_;
    const float startY = node(dumped("start.json"), "credits")["position"][1].get<float>();
    const float laterY = node(dumped("later.json"), "credits")["position"][1].get<float>();
    EXPECT_GT(startY, 700);
    // About ten seconds of the roll's 38.
    EXPECT_LT(laterY, startY - 200);
    EXPECT_GT(laterY, 0);
    EXPECT_FALSE(node(dumped("closed.json"), "credits")["visible"].get<bool>());
    EXPECT_FALSE(node(dumped("start.json"), "website_button")["visible"].get<bool>());
    const std::string log = folder_.read(kLog);
    const auto said = log.find("no web address: website.url");
    ASSERT_NE(said, std::string::npos);
    EXPECT_EQ(log.find("no web address", said + 1), std::string::npos);

    const fs::path opener = folder_.path() / "bin/xdg-open";
    fs::create_directories(opener.parent_path());
    folder_.write("bin/xdg-open",
                  "#!/bin/sh\necho \"$1\" > \"" + (folder_.path() / "opened.txt").string() + "\"\n");
    fs::permissions(opener, fs::perms::owner_all);
    folder_.write("website.url", "[InternetShortcut]\nURL=https://moonbrook.example/\n");
    ASSERT_EQ(run(credits + "click-node website_button\nwait 30\n", {},
                  {{"PATH", (folder_.path() / "bin").string() + ":" + std::getenv("PATH")}}),
              0)
        << errorOutput_;
    EXPECT_TRUE(node(dumped("start.json"), "website_button")["visible"].get<bool>());
    // The opener runs on its own; it is given a few seconds.
    for (int wait = 0; wait < 50 && folder_.read("opened.txt").empty(); ++wait)
        std::this_thread::sleep_for(100ms);
    EXPECT_EQ(folder_.read("opened.txt"), "https://moonbrook.example/\n");
}

// Lines of the log that name the problem and end in the file.
int logLines(const std::string& log, const std::string& problem, const std::string& file) {
    int count = 0;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        count += line.find(problem + ": ") != std::string::npos && line.ends_with(file) ? 1 : 0;
    return count;
}

// Without its opening pictures, its story or its preload lists, or with them damaged, the game still leads a
// new player through the menu to the map; each file is logged once with its path.
TEST_F(MenuProgramTest, MissingOrDamagedOpeningFilesAreLoggedOnceAndTheGameStillReachesTheMap) {
    fs::remove_all(folder_.path() / "data");
    folder_.linkContent(MOONBROOK_CONTENT_DATA, {"scenes"});
    const std::string newPlayer =
        "wait-scene MainMenuScene 600\nwait-state add_first_user 60\ntext Zoe\n"
        "key Return\nwait-state default 60\nclick-node play_button\n"
        "wait-state tutorial 1200\ndump scene map.json\n";
    const std::vector<std::string> files = {"data/scenes/splash.sg.xml", "data/scenes/story.sg.xml",
                                            "data/preload.plist", "data/preload_story.plist"};
    for (const std::string& file : files)
        fs::remove(folder_.path() / file);
    ASSERT_EQ(runFromStart(newPlayer), 0) << errorOutput_;
    EXPECT_TRUE(node(dumped("map.json"), "map_panel")["visible"].get<bool>());
    std::string log = folder_.read(kLog);
    for (const std::string& file : files)
        EXPECT_EQ(logLines(log, "file not found", file), 1) << file;

    fs::remove(folder_.path() / "data-home/Moonbrook/users.xml");
    for (const char* scene : {"data/scenes/splash.sg.xml", "data/scenes/story.sg.xml"})
        folder_.write(scene, "<?xml version=\"1.0\"?>\n<scene><state name=\"v1\"");
    for (const char* list : {"data/preload.plist", "data/preload_main.plist"})
        folder_.write(list, "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><array><string>data/gfx");
    ASSERT_EQ(runFromStart(newPlayer), 0) << errorOutput_;
    EXPECT_TRUE(node(dumped("map.json"), "map_panel")["visible"].get<bool>());
    log = folder_.read(kLog);
    EXPECT_EQ(logLines(log, "damaged XML file", "data/scenes/splash.sg.xml"), 1);
    EXPECT_EQ(logLines(log, "damaged XML file", "data/scenes/story.sg.xml"), 1);
    EXPECT_EQ(logLines(log, "damaged property list", "data/preload.plist"), 1);
    EXPECT_EQ(logLines(log, "damaged property list", "data/preload_main.plist"), 1);
}

TEST_F(MenuProgramTest, ALanguageChosenInTheSettingsShowsAtOnceIsKeptInTheProfileAndFollowsItsPlayer) {
    writeGermanLocale();
    writeProfiles({{"Ann", kAllTutorials},
                   {"Bob", std::string(kAllTutorials) + "<key>language</key><string>en</string>"}},
                  "Ann");
    ASSERT_EQ(
        run("wait-state default 60\nclick-node settings_button\nwait 20\ndump scene english.json\n"
            "screenshot settings_en.png\nclick-node language_de\nwait 30\ndump scene german.json\n"
            "screenshot settings_de.png\ndump profiles chosen.json\nclick-node settings_close\nwait 20\n"
            "dump scene closed.json\n"),
        0)
        << errorOutput_;
    const nlohmann::json english = dumped("english.json");
    EXPECT_TRUE(childOf(english, "language_en", "current")["visible"].get<bool>());
    EXPECT_FALSE(childOf(english, "language_de", "current")["visible"].get<bool>());
    EXPECT_TRUE(showsText(english["tree"], "Language"));
    const nlohmann::json german = dumped("german.json");
    EXPECT_EQ(german["state"], "default");
    EXPECT_TRUE(node(german, "settings_popup")["visible"].get<bool>());
    EXPECT_EQ(node(german, "welcome_text")["text"], "Willkommen, Ann");
    EXPECT_TRUE(showsText(german["tree"], "Sprache"));
    EXPECT_TRUE(showsText(german["tree"], "Einstellungen"));
    EXPECT_TRUE(showsText(german["tree"],
                          "Fran\xC3\xA7"
                          "ais"));
    EXPECT_TRUE(childOf(german, "language_de", "current")["visible"].get<bool>());
    EXPECT_FALSE(childOf(german, "language_en", "current")["visible"].get<bool>());
    EXPECT_EQ(profile("chosen.json")["language"], "de");
    EXPECT_FALSE(node(dumped("closed.json"), "settings_popup")["visible"].get<bool>());

    // After a restart the choice holds; choosing the other player on the players' screen shows the menu in
    // that player's language, still on that screen. The list's second row is Bob.
    ASSERT_EQ(run("wait-state default 60\nwait 5\ndump scene again.json\nclick-node users_button\n"
                  "wait-state users 30\nclick 400 318\nwait 30\ndump scene bob.json\n"),
              0)
        << errorOutput_;
    EXPECT_EQ(node(dumped("again.json"), "welcome_text")["text"], "Willkommen, Ann");
    const nlohmann::json bob = dumped("bob.json");
    EXPECT_EQ(bob["state"], "users");
    EXPECT_EQ(node(bob, "welcome_text")["text"], "Welcome, Bob");
    EXPECT_TRUE(showsText(bob["tree"], "Players"));
    EXPECT_FALSE(showsText(bob["tree"], "Spieler"));
}

}  // namespace
}  // namespace moonbrook::test
