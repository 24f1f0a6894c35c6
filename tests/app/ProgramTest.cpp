#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"

namespace moonbrook::test {
namespace {

using ProgramTest = ProgramRunTest;

// A damaged profiles file is kept aside byte for byte.
TEST_F(ProgramTest, HeadlessFixedStepRunEndsCleanlyWithItsLogAndADamagedProfilesFileKeptAside) {
    const std::string damaged = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>users</key><array>";
    std::filesystem::create_directories(folder_.path() / "data-home/Moonbrook");
    folder_.write("data-home/Moonbrook/users.xml", damaged);
    EXPECT_EQ(run({"--headless", "--frames", "300", "--fixed-dt", "0.0166"}), 0);
    EXPECT_EQ(errorOutput_, "");
    const std::string log = folder_.read(kLog);
    EXPECT_EQ(log.rfind("LOG FILENAME: ", 0), 0u) << log;
    EXPECT_NE(log.find("Moonbrook/log.txt\n"), std::string::npos) << log;
    EXPECT_NE(log.find("setting win title: Moonbrook"), std::string::npos) << log;
    EXPECT_EQ(log.find("Development mode enabled"), std::string::npos) << log;
    std::vector<std::string> aside;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path() / "data-home/Moonbrook")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("users.xml.damaged-")) aside.push_back("data-home/Moonbrook/" + name);
    }
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(folder_.read(aside[0]), damaged);
}

TEST_F(ProgramTest, TheEnvironmentChoosesTheLanguageUnlessTheDefaultNamesOne) {
    std::filesystem::create_directories(folder_.path() / "data/locales");
    folder_.write(
        "data/locales/de.plist",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>strings</key>"
        "<dict><key>Moonbrook</key><string>Mondbach</string></dict></dict></plist>\n");
    // The order of the variables, the settings' meanings and a language without its file are the language
    // choice's own tests; here the program reads the real environment and the file.
    const auto expectGermanOnce = [this](const GameProcess::Environment& environment) {
        std::filesystem::remove_all(folder_.path() / "data-home");
        EXPECT_EQ(run({"--headless", "--frames", "1"}, environment), 0);
        const std::string log = folder_.read(kLog);
        EXPECT_NE(log.find("setting win title: Mondbach\n"), std::string::npos) << log;
        EXPECT_NE(log.find("currentLocale = de\n"), std::string::npos) << log;
        EXPECT_EQ(occurrences(log, "currentLocale = "), 1u) << log;
    };
    // No setting leaves it to the environment.
    expectGermanOnce({{"LANG", "de_DE.UTF-8"}});
    // Saved by an editor, with a final line break.
    folder_.write("data/default_locale.txt", "de\n");
    expectGermanOnce({{"LANG", "fr_FR.UTF-8"}});
}

TEST_F(ProgramTest, ABadCommandLineOrScriptOrAFailingCommandExitsTwo) {
    EXPECT_EQ(run({"--headless", "--levels", "1"}), 2);
    EXPECT_NE(errorOutput_.find("unknown option '--levels'"), std::string::npos) << errorOutput_;
    EXPECT_NE(errorOutput_.find("usage: moonbrook"), std::string::npos) << errorOutput_;
    EXPECT_EQ(run({"--headless", "--script", "no-such-script.txt"}), 2);
    EXPECT_NE(errorOutput_.find("no-such-script.txt: cannot read the script"), std::string::npos)
        << errorOutput_;
    folder_.write("script.txt", "# checks\ndump scene early.json\n\nfly 10 20\nquit\n");
    EXPECT_EQ(run({"--headless", "--script", "script.txt"}), 2);
    EXPECT_NE(errorOutput_.find("script.txt:4: unknown command 'fly'"), std::string::npos) << errorOutput_;
    EXPECT_FALSE(std::filesystem::exists(folder_.path() / "early.json"));
    // A command that fails while the run goes on ends it the same way.
    folder_.write("script.txt", "wait 1\nscreenshot missing-folder/shot.png\n");
    EXPECT_EQ(run({"--headless", "--script", "script.txt"}), 2);
    EXPECT_NE(errorOutput_.find("script.txt:2: cannot write 'missing-folder/shot.png'"), std::string::npos)
        << errorOutput_;
}

TEST_F(ProgramTest, WithoutADisplayOnlyHeadlessStarts) {
    const GameProcess::Environment noDisplay{
        {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"SDL_VIDEODRIVER", std::nullopt}};
    EXPECT_EQ(run({"--frames", "1"}, noDisplay), 1);
    EXPECT_NE(errorOutput_.find("cannot open a window: no display found"), std::string::npos) << errorOutput_;
    EXPECT_NE(errorOutput_.find("--headless"), std::string::npos) << errorOutput_;
    // A display named in the environment does not stop a headless run either.
    EXPECT_EQ(run({"--headless", "--frames", "1"}, {{"DISPLAY", ":12345"}, {"SDL_VIDEODRIVER", "x11"}}), 0);
}

}  // namespace
}  // namespace moonbrook::test
