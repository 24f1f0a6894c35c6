#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <tuple>

#include "engine/core/KTNotificationCenter.h"
#include "engine/services/KTUserManager.h"
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

TEST_F(UserManagerTest, NamesAreCheckedExactly) {
    manager().add("Ada");
    EXPECT_FALSE(manager().checkUserName("Ada"));
    EXPECT_TRUE(manager().checkUserName("ada"));
    EXPECT_TRUE(manager().checkUserName("Ada "));
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

}  // namespace
}  // namespace kt
