// Profiles: the user manager, the users controller and the settings kept in the selected profile.
#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <tuple>

#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTLanguage.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/core/KTState.h"
#include "engine/services/KTSettingsManager.h"
#include "engine/services/KTUserManager.h"
#include "engine/services/KTUsersController.h"
#include "tests/engine/services/ProfileTest.h"

namespace kt {
namespace {

using test::ProfileTest;

class UserManagerTest : public ProfileTest {
protected:
    KTUserManager& manager() { return KTUserManager::sharedManager(); }
    std::filesystem::path profileFolder() const { return std::filesystem::path(usersFile()).parent_path(); }

    // Counts the notifications of that name sent by the user manager.
    int& countNotifications(std::string_view name) {
        int& count = counts.emplace_back(0);
        KTNotificationCenter::shared().addObserver(this, std::string(name), &manager(),
                                                   [&count](const KTNotification&) { ++count; });
        return count;
    }
    ~UserManagerTest() override { KTNotificationCenter::shared().removeObserver(this); }

    std::deque<int> counts;
};

// Every kind of value survives the property list's own round trip; here the profile's options reach it.
TEST_F(UserManagerTest, ProfilesTheirOptionsAndTheSelectionSurviveASaveAndANewStart) {
    manager().add("Ada");
    manager().add("Brom");
    KTPlist results = KTPlist::emptyDictionary();
    results["level_01"] = 42.5;
    auto brom = manager().selectedUser();
    brom->setObject(results, "levelResults");
    brom->setObject(true, "fullscreen");
    brom->setTokens(-7);
    manager().save();
    const KTPlist before = brom->options();

    restart();
    ASSERT_EQ(manager().count(), 2u);
    EXPECT_EQ(manager().selectedIdx(), 1);
    EXPECT_EQ(manager().selectedUser()->options(), before);
    EXPECT_EQ(manager().users()[0]->name(), "Ada");
}

TEST_F(UserManagerTest, TheSelectionFollowsAddingAndDeleting) {
    manager().add("Ada");
    EXPECT_EQ(savedFile()["selected_user_idx"], KTPlist("0"));
    EXPECT_EQ(savedFile()["selected_user_name"], KTPlist("Ada"));
    manager().add("Brom");
    manager().add("Cel");
    manager().selectByName("Brom");

    manager().remove(0);  // before the selected one: Brom stays selected
    EXPECT_EQ(manager().selectedUser()->name(), "Brom");
    manager().remove(5);
    manager().remove(-1);
    EXPECT_EQ(manager().count(), 2u);
    manager().removeUser("Cel");  // after the selected one
    EXPECT_EQ(manager().selectedUser()->name(), "Brom");
    manager().add("Dov");
    manager().removeSelected();  // the selected one: the first remaining takes over
    EXPECT_EQ(manager().selectedUser()->name(), "Brom");

    manager().removeSelected();
    EXPECT_EQ(manager().selectedIdx(), -1);
    EXPECT_EQ(manager().selectedUser(), nullptr);
    EXPECT_EQ(savedFile()["selected_user_idx"], KTPlist("-1"));
    EXPECT_FALSE(savedFile().contains("selected_user_name"));
    manager().removeSelected();
    EXPECT_EQ(manager().count(), 0u);
}

// The saved name wins; without a matching name the saved index counts, even one that selects nothing.
TEST_F(UserManagerTest, LoadsTheSelectionFromTheFile) {
    const std::tuple<const char*, int, const char*> files[] = {
        {"<key>selected_user_name</key><string>Brom</string><key>selected_user_idx</key><string>0</string>",
         1, "Brom"},
        {"<key>selected_user_name</key><string>Zed</string><key>selected_user_idx</key><string>1</string>", 1,
         "Brom"},
        {"<key>selected_user_idx</key><string>0</string>", 0, "Ada"},
        {"<key>selected_user_idx</key><string>-1</string>", -1, ""},
        {"", 0, "Ada"}};
    for (const auto& [tail, index, name] : files) {
        SCOPED_TRACE(tail);
        restart();
        writeUsersFile(std::string(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>users</key><array>
<dict><key>name</key><string>Ada</string></dict><dict><key>name</key><string>Brom</string></dict>
</array>)") + tail + "</dict></plist>");
        EXPECT_EQ(manager().selectedIdx(), index);
        const auto user = manager().selectedUser();
        EXPECT_EQ(user ? user->name() : "", name);
    }
}

TEST_F(UserManagerTest, ResourcesAnnounceEveryChangeAndShareTheirText) {
    manager().add("Ada");
    int& dataChanged = countNotifications(KTUserManager::kUserDataChanged);
    int& listChanged = countNotifications(KTUserManager::kUserListChanged);
    auto user = manager().selectedUser();
    auto text = user->tokensString();
    EXPECT_EQ(text->stringValue(), "0");

    user->addTokens(10);
    user->subTokens(25);
    EXPECT_EQ(user->tokens(), -15);
    EXPECT_EQ(text, user->stringForResource("tokens"));
    EXPECT_EQ(text->stringValue(), "-15");
    user->setObject(3, "tokens");
    EXPECT_EQ(text->stringValue(), "3");
    user->addAmount(4, "plates");
    EXPECT_EQ(user->amountOfResource("plates"), 4);
    EXPECT_EQ(dataChanged, 3);
    EXPECT_EQ(listChanged, 0);

    manager().add("Brom");
    manager().selectByName("Ada");
    EXPECT_EQ(listChanged, 2);
}

// A damaged profiles file is moved aside untouched and never written over.
class DamagedFileTest : public UserManagerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DamagedFileTest, IsKeptByteForByteBesideTheNewFile) {
    const std::string damaged = GetParam();
    writeUsersFile(damaged);
    EXPECT_EQ(manager().count(), 0u);
    EXPECT_EQ(manager().selectedUser(), nullptr);
    manager().add("Ada");

    std::vector<std::filesystem::path> aside;
    for (const auto& entry : std::filesystem::directory_iterator(profileFolder())) {
        if (entry.path().filename().string().starts_with("users.xml.damaged-")) aside.push_back(entry.path());
    }
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(test::readFile(aside[0]), damaged);
    EXPECT_EQ(countInLog("cannot be read; kept as"), 1);
    EXPECT_EQ(savedFile()["users"].size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFileTest,
    ::testing::Values("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>users</key><array><dict>",
                      "not a property list at all \x01\x02",
                      "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>",
                      "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>users</key>"
                      "<string>Ada</string></dict></plist>",
                      "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>users</key>"
                      "<array><string>Ada</string></array></dict></plist>"));

TEST_F(UserManagerTest, AFileThatCannotBeMovedAsideIsNeverOverwritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may rename in a read-only folder";
    writeUsersFile("garbage");
    const auto folder = profileFolder();
    std::filesystem::permissions(folder, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    manager().add("Ada");
    std::filesystem::permissions(folder, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(test::readFile(usersFile()), "garbage");
}

class UsersControllerTest : public ProfileTest {
protected:
    UsersControllerTest() {
        KTDirector::shared().setAudio(audio);
        for (const char* name :
             {"default", "users", "add_user", "too_many_users", "username_used", "add_first_user"}) {
            auto state = std::make_shared<KTState>();
            state->name = name;
            scene->addState(state);
        }
        runScene(scene);
        scene->setState("default");
    }

    KTUsersController& controller() {
        return static_cast<KTUsersController&>(
            *KTControllerManager::shared().getControllerByName("KTUsersController"));
    }
    static KTUserManager& users() { return KTUserManager::sharedManager(); }
    std::string state() const { return scene->currentState()->name; }
    void typeName(const std::string& name) { controller().newUserName()->setString(name); }

    std::shared_ptr<test::RecordingAudio> audio = std::make_shared<test::RecordingAudio>();
    std::shared_ptr<KTScene> scene = KTNode::node<KTScene>();
};

TEST_F(UsersControllerTest, AddsTheTypedNameTrimmedAndGreetsIt) {
    typeName("  Ada Lovelace\t");
    controller().addUser();
    ASSERT_EQ(users().count(), 1u);
    EXPECT_EQ(users().selectedUser()->name(), "Ada Lovelace");
    EXPECT_EQ(controller().newUserName()->stringValue(), "");
    EXPECT_EQ(controller().currentUserName()->stringValue(), "Ada Lovelace");
    EXPECT_EQ(controller().welcomeUserText()->stringValue(), "Welcome, Ada Lovelace");
    EXPECT_EQ(state(), "users");
}

TEST_F(UsersControllerTest, BlankTakenAndTooManyNamesAddNothing) {
    typeName("   ");
    controller().addUser();
    controller().addFirstUser();
    EXPECT_EQ(users().count(), 0u);
    EXPECT_EQ(state(), "default");

    users().add("Brom");
    typeName("Brom");
    controller().addUser();
    EXPECT_EQ(users().count(), 1u);
    EXPECT_EQ(state(), "username_used");
    // Names are compared exactly.
    EXPECT_TRUE(users().checkUserName("brom"));
    EXPECT_TRUE(users().checkUserName("Brom "));

    users().setUsersCountLimit(2);
    controller().switchToAddUserState();
    EXPECT_EQ(state(), "add_user");
    users().add("Cel");
    typeName("Dag");
    controller().switchToAddUserState();
    EXPECT_EQ(state(), "too_many_users");
    scene->setState("users");
    controller().addUser();
    EXPECT_EQ(state(), "too_many_users");
    EXPECT_EQ(users().count(), 2u);

    // The menu's limit of eight holds also where the manager would take more.
    users().setUsersCountLimit(9);
    for (int i = 2; i < 8; ++i)
        users().add("Player " + std::to_string(i));
    controller().switchToAddUserState();
    EXPECT_EQ(state(), "too_many_users");
}

TEST_F(UsersControllerTest, DeletingTheLastProfileAsksForAFirstOne) {
    typeName("Ada");
    controller().addFirstUser();
    EXPECT_EQ(state(), "default");
    users().add("Brom");
    controller().deleteSelectedUser();
    EXPECT_EQ(state(), "users");
    EXPECT_EQ(controller().currentUserName()->stringValue(), "Ada");
    controller().deleteSelectedUser();
    EXPECT_EQ(state(), "add_first_user");
    EXPECT_EQ(users().count(), 0u);
}

class SettingsManagerTest : public ProfileTest {
protected:
    SettingsManagerTest() { KTDirector::shared().setAudio(audio); }

    KTUserManager& users() { return KTUserManager::sharedManager(); }
    KTSettingsManager& settings() { return KTSettingsManager::sharedManager(); }

    std::shared_ptr<test::RecordingAudio> audio = std::make_shared<test::RecordingAudio>();
};

TEST_F(SettingsManagerTest, StartsFromTheAudioVolumesAndFullScreenAndGivesThemToAProfileWithoutSettings) {
    EXPECT_FLOAT_EQ(settings().soundVolume()->numberValue(), 0.5f);
    EXPECT_FLOAT_EQ(settings().musicVolume()->numberValue(), 0.25f);
    EXPECT_TRUE(settings().fullscreen()->boolValue());
    EXPECT_TRUE(KTDirector::shared().fullscreen());

    users().add("Ada");
    const KTPlist saved = savedFile()["users"].at(0);
    EXPECT_FLOAT_EQ(static_cast<float>(saved["sound_volume"].realValue()), 0.5f);
    EXPECT_FLOAT_EQ(static_cast<float>(saved["music_volume"].realValue()), 0.25f);
    EXPECT_EQ(saved["fullscreen"], KTPlist(true));
}

TEST_F(SettingsManagerTest, SettingAndResourceChangesReachTheAudioTheWindowAndTheSavedProfile) {
    settings();
    users().add("Ada");
    settings().musicVolume()->setFloat(0.5f);
    EXPECT_EQ(audio->music, 5000);
    KTDirector::shared().setFullscreen(false);
    EXPECT_FALSE(settings().fullscreen()->boolValue());

    const KTPlist saved = savedFile()["users"].at(0);
    EXPECT_DOUBLE_EQ(saved["music_volume"].realValue(), 0.5);
    EXPECT_EQ(saved["fullscreen"], KTPlist(false));
    settings().fullscreen()->setBool(true);
    EXPECT_TRUE(KTDirector::shared().fullscreen());
    EXPECT_EQ(savedFile()["users"].at(0)["fullscreen"], KTPlist(true));

    users().selectedUser()->addTokens(12);
    EXPECT_EQ(savedFile()["users"].at(0)["tokens"].intValue(), 12) << "a resource change saves the profile";
}

constexpr const char* kLocale = "<plist version=\"1.0\"><dict/></plist>";

// German and French can be shown; the default language is French.
class LanguageSettingTest : public SettingsManagerTest {
protected:
    LanguageSettingTest() {
        writeFile("data/locales/de.plist", kLocale);
        writeFile("data/locales/fr.plist", kLocale);
        KTLanguage::setDefaultLanguage("fr");
        KTNotificationCenter::shared().addObserver(this, std::string(KTSettingsManager::kLanguageChanged),
                                                   nullptr, [this](const KTNotification&) { ++changes; });
    }
    ~LanguageSettingTest() override { KTNotificationCenter::shared().removeObserver(this); }

    int changes = 0;
};

TEST_F(LanguageSettingTest, TheSelectedProfilesLanguageIsShownAndOneWithoutFollowsTheDefault) {
    settings();
    EXPECT_EQ(KTLanguage::current(), "fr");
    users().add("Ada");
    users().add("Brom");
    users().selectedUser()->setObject("de", KTSettingsManager::kLanguageKey);
    users().selectByName("Ada");
    EXPECT_EQ(KTLanguage::current(), "fr");
    EXPECT_TRUE(savedFile()["users"].at(0)[KTSettingsManager::kLanguageKey].isNone());
    const int before = changes;
    users().selectByName("Brom");
    EXPECT_EQ(KTLanguage::current(), "de");
    EXPECT_EQ(changes, before + 1);
}

TEST_F(LanguageSettingTest, ADamagedOrUnknownLanguageInTheProfileFollowsTheDefault) {
    settings();
    users().add("Ada");
    for (const KTPlist& damaged : {KTPlist(5), KTPlist("it"), KTPlist("../de"), KTPlist::emptyDictionary()}) {
        users().selectedUser()->setObject(damaged, KTSettingsManager::kLanguageKey);
        settings().updateUserSettings();
        EXPECT_EQ(settings().profileLanguage(), "fr");
        EXPECT_EQ(KTLanguage::current(), "fr");
    }
}

}  // namespace
}  // namespace kt
