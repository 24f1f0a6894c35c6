#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace moonbrook {
namespace {

TEST(CommandLineTest, ReadsEveryOptionWithItsValueNextOrAfterEquals) {
    const CommandLine line = parseCommandLine({"--headless", "--frames", "300", "--fixed-dt=0.0166", "--seed",
                                               "0", "--script=my script.txt", "--level", "001"});
    ASSERT_EQ(line.error, "");
    EXPECT_TRUE(line.options.headless);
    EXPECT_EQ(line.options.frames, 300u);
    EXPECT_FLOAT_EQ(line.options.fixedDeltaTime.value_or(0), 0.0166f);
    EXPECT_EQ(line.options.seed, 0u);
    EXPECT_EQ(line.options.scriptPath, "my script.txt");
    EXPECT_EQ(line.options.levelName, "001");
}

TEST(CommandLineTest, LargestSeedIsAccepted) {
    EXPECT_EQ(parseCommandLine({"--seed", "4294967295"}).options.seed, 4294967295u);
}

TEST(CommandLineTest, StrayWordsAreUnknownOptions) {
    EXPECT_EQ(parseCommandLine({"300"}).error, "unknown option '300'");
    EXPECT_EQ(parseCommandLine({"-headless"}).error, "unknown option '-headless'");
}

TEST(CommandLineTest, MissingValueIsAnError) {
    EXPECT_EQ(parseCommandLine({"--frames"}).error, "--frames needs a whole number of frames above 0");
    EXPECT_EQ(parseCommandLine({"--script"}).error, "--script needs a file name");
    EXPECT_EQ(parseCommandLine({"--script="}).error, "--script needs a file name, not ''");
    EXPECT_EQ(parseCommandLine({"--level="}).error, "--level needs a level name, not ''");
}

TEST(CommandLineTest, SwitchTakesNoValue) {
    EXPECT_EQ(parseCommandLine({"--headless=yes"}).error, "--headless takes no value");
}

TEST(CommandLineTest, BadNumbersAreRejectedWithTheValue) {
    const std::vector<std::vector<std::string>> badLines{
        {"--frames", "0"},
        {"--frames", "-5"},
        {"--frames", "12x"},
        {"--frames", " 12"},
        {"--frames", "1.5"},
        {"--fixed-dt", "0"},
        {"--fixed-dt", "-0.01"},
        {"--fixed-dt", "nan"},
        {"--fixed-dt", "inf"},
        {"--fixed-dt", "0.1s"},
        {"--seed", "-1"},
        {"--seed", "4294967296"},
        {"--frames", "99999999999999999999999"},
    };
    for (const auto& arguments : badLines) {
        const std::string error = parseCommandLine(arguments).error;
        EXPECT_NE(error.find(arguments[0] + " needs"), std::string::npos)
            << arguments[0] << ' ' << arguments[1];
        EXPECT_NE(error.find("'" + arguments[1] + "'"), std::string::npos) << error;
    }
}

TEST(CommandLineTest, FirstErrorStopsTheParse) {
    EXPECT_EQ(parseCommandLine({"--frames", "0", "--bogus"}).error.substr(0, 8), "--frames");
}

}  // namespace
}  // namespace moonbrook
