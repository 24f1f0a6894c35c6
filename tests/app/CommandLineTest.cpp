#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/CommandLine.h"

namespace moonbrook {
namespace {

TEST(CommandLineTest, ReadsEveryOptionWithItsValueNextOrAfterEqualsAndTheLargestSeed) {
    const CommandLine line = parseCommandLine({"--headless", "--frames", "300", "--fixed-dt=0.0166", "--seed",
                                               "0", "--script=my script.txt", "--level", "001"});
    ASSERT_EQ(line.error, "");
    EXPECT_TRUE(line.options.headless);
    EXPECT_EQ(line.options.frames, 300u);
    EXPECT_FLOAT_EQ(line.options.fixedDeltaTime.value_or(0), 0.0166f);
    EXPECT_EQ(line.options.seed, 0u);
    EXPECT_EQ(line.options.scriptPath, "my script.txt");
    EXPECT_EQ(line.options.levelName, "001");
    EXPECT_EQ(parseCommandLine({"--seed", "4294967295"}).options.seed, 4294967295u);
}

// Stray words, missing values and values given to a switch; the first error stops the parse.
TEST(CommandLineTest, BadWordsAndValuesAreNamedByTheFirstError) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"300"}, "unknown option '300'"},
        {{"-headless"}, "unknown option '-headless'"},
        {{"--frames"}, "--frames needs a whole number of frames above 0"},
        {{"--script"}, "--script needs a file name"},
        {{"--script="}, "--script needs a file name, not ''"},
        {{"--level="}, "--level needs a level name, not ''"},
        {{"--headless=yes"}, "--headless takes no value"},
        {{"--frames", "0", "--bogus"}, "--frames needs a whole number of frames above 0, not '0'"},
    };
    for (const auto& [arguments, error] : cases)
        EXPECT_EQ(parseCommandLine(arguments).error, error) << arguments[0];
}

TEST(CommandLineTest, BadNumbersAreRejectedWithTheValue) {
    // "--frames 0" is named above.
    const std::vector<std::vector<std::string>> badLines{
        {"--frames", "-5"},    {"--frames", "12x"},      {"--frames", " 12"},
        {"--frames", "1.5"},   {"--fixed-dt", "0"},      {"--fixed-dt", "-0.01"},
        {"--fixed-dt", "nan"}, {"--fixed-dt", "inf"},    {"--fixed-dt", "0.1s"},
        {"--seed", "-1"},      {"--seed", "4294967296"}, {"--frames", "99999999999999999999999"},
    };
    for (const auto& arguments : badLines) {
        const std::string error = parseCommandLine(arguments).error;
        EXPECT_NE(error.find(arguments[0] + " needs"), std::string::npos)
            << arguments[0] << ' ' << arguments[1];
        EXPECT_NE(error.find("'" + arguments[1] + "'"), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace moonbrook
