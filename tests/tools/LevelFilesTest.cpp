// Checks the shipped level files in the built data tree the way a level designer would before play: every
// level is listed, timed and given its episode's background, its layers fit the board, every cell can be
// filled from an emitter, and its goals can be reached with the balls it generates.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/core/KTFormat.h"
#include "engine/core/KTPlist.h"
#include "engine/core/XMLElement.h"

namespace moonbrook {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = MOONBROOK_CONTENT_ROOT;
constexpr int kColumns = 20;
constexpr int kRows = 13;
constexpr std::size_t kEpisodes = 4;
constexpr std::size_t kLevelsPerEpisode = 12;
// The one level played from the menu's challenge button, outside the episodes.
const std::string kChallengeLevel = "spooky_challenge";

std::optional<kt::KTPlist> readData(const std::string& path) {
    return kt::KTPlist::readFile((kRoot / path).string());
}

// The levels of every episode, in play order.
std::vector<std::string> levelsInPlayOrder() {
    std::vector<std::string> names;
    const auto episodes = readData("data/episodes.plist");
    if (!episodes) return names;
    for (const kt::KTPlist& episode : (*episodes)["episodes"].arrayValue()) {
        for (const kt::KTPlist& name : episode["levels"].arrayValue())
            names.push_back(name.stringValue());
    }
    return names;
}

std::vector<std::string> shippedLevels() {
    std::vector<std::string> names = levelsInPlayOrder();
    names.push_back(kChallengeLevel);
    return names;
}

TEST(EpisodeList, HoldsFourTitledEpisodesOfTwelveLevelsNumberedInPlayOrderAsTheLevelSetDoes) {
    const auto episodes = readData("data/episodes.plist");
    ASSERT_TRUE(episodes);
    ASSERT_EQ((*episodes)["episodes"].size(), kEpisodes);
    std::set<std::string> titles;
    for (const kt::KTPlist& episode : (*episodes)["episodes"].arrayValue()) {
        EXPECT_EQ(episode["levels"].size(), kLevelsPerEpisode);
        titles.insert(episode["title"].stringValue());
    }
    EXPECT_EQ(titles.size(), kEpisodes) << "every episode needs a title of its own";
    EXPECT_FALSE(titles.contains(""));
    const std::vector<std::string> names = levelsInPlayOrder();
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(names[i], kt::KTFormat("%03i", static_cast<int>(i + 1)));
    // The editor's level set lists the same levels in the same order.
    const auto levelSet = readData("data/levelset.xml");
    ASSERT_TRUE(levelSet);
    std::vector<std::string> listed;
    for (const kt::KTPlist& name : levelSet->arrayValue())
        listed.push_back(name.stringValue());
    EXPECT_EQ(listed, names);
}

// The shipped level named by the parameter, with its layers read as the board reads them: row by row from
// the top, '0' outside the board and past a layer's end.
class LevelFileTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        const auto data = readData("data/levels/" + GetParam() + ".xml");
        ASSERT_TRUE(data && data->isDictionary()) << GetParam();
        level_ = *data;
    }

    std::string layerString(const char* name) const { return level_["options"][name].stringValue(); }
    char at(const char* layerName, int x, int y) const {
        if (x < 0 || y < 0 || x >= kColumns || y >= kRows) return '0';
        const std::string layer = layerString(layerName);
        const auto index = static_cast<std::size_t>(y * kColumns + x);
        return index < layer.size() ? layer[index] : '0';
    }
    bool isCell(int x, int y) const { return at("map", x, y) != '0'; }
    bool isEmitter(int x, int y) const { return at("emitters", x, y) != '0'; }
    bool hasCrate(int x, int y) const { return at("crates", x, y) != '0'; }
    bool isLocked(int x, int y) const { return at("locks", x, y) == '1'; }

    kt::KTPlist level_;
};

TEST_P(LevelFileTest, IsNumberedTimedAndDressedLikeItsPlaceInTheGame) {
    const std::vector<std::string> names = levelsInPlayOrder();
    const auto position = std::find(names.begin(), names.end(), GetParam()) - names.begin();
    EXPECT_EQ(level_["id"].intValue(), position) << "the HUD shows the id plus one";
    const kt::KTPlist& options = level_["options"];
    const double limit = options["time_limit"].realValue();
    EXPECT_GT(limit, 30.0);
    const auto limits = readData("data/level_timelimits.xml");
    ASSERT_TRUE(limits);
    EXPECT_DOUBLE_EQ((*limits)[GetParam()].realValue(), limit);
    // A gold time beats three stars, which need 70 % of the limit.
    const double gold = options["gold_time"].realValue();
    EXPECT_GT(gold, 0.0);
    EXPECT_LE(gold, 0.7 * limit);

    const std::string background = options["background"].stringValue();
    if (GetParam() != kChallengeLevel) {
        EXPECT_EQ(background,
                  kt::KTFormat("episode%i.xml", static_cast<int>(position / kLevelsPerEpisode + 1)));
    }
    EXPECT_TRUE(kt::XMLElement::fromFile((kRoot / "data/partials/backgrounds" / background).string()))
        << background;
}

TEST_P(LevelFileTest, LayersFitTheBoardAndPutThingsOnlyOnCells) {
    for (const char* layer : {"map", "emitters", "locks", "crates", "preplaced_balls"}) {
        EXPECT_EQ(layerString(layer).size(), static_cast<std::size_t>(kColumns * kRows)) << layer;
    }
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            const char map = at("map", x, y);
            EXPECT_TRUE(map >= '0' && map <= '3') << x << "," << y;
            if (isCell(x, y)) {
                EXPECT_FALSE(isEmitter(x, y)) << "emitter on a cell at " << x << "," << y;
                EXPECT_FALSE(hasCrate(x, y) && (at("preplaced_balls", x, y) != '0' || isLocked(x, y)))
                    << "a crate holds no ball and takes no lock at " << x << "," << y;
                continue;
            }
            const std::string things{at("locks", x, y), at("crates", x, y), at("preplaced_balls", x, y)};
            EXPECT_EQ(things, "000") << "lock, crate or ball off the board at " << x << "," << y;
        }
    }
}

TEST_P(LevelFileTest, EveryCellWithoutACrateCanBeFilledFromAnEmitter) {
    // Balls fall straight down or slide diagonally down, but an emitter drops its balls only straight
    // down; a crate holds no ball and a locked ball stays where it is, so neither passes balls on.
    std::vector<std::vector<bool>> filled(kRows, std::vector<bool>(kColumns, false));
    const auto feeds = [&](int x, int y, bool straightDown) {
        if (x < 0 || x >= kColumns || y < 0) return false;
        if (isEmitter(x, y)) return straightDown;
        return isCell(x, y) && !hasCrate(x, y) && !isLocked(x, y) && filled[y][x];
    };
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            if (!isCell(x, y) || hasCrate(x, y)) continue;
            filled[y][x] = feeds(x, y - 1, true) || feeds(x - 1, y - 1, false) || feeds(x + 1, y - 1, false);
            EXPECT_TRUE(filled[y][x] || isLocked(x, y)) << "cell " << x << "," << y << " is never filled";
        }
    }
}

TEST_P(LevelFileTest, GeneratesEnoughColoursAndHasGoalsThoseBallsCanReach) {
    std::set<char> generated;
    int ordinaryColours = 0;
    for (const auto& [letter, weight] : level_["probs"].dictionaryValue()) {
        ASSERT_EQ(letter.size(), 1u);
        EXPECT_TRUE(fs::is_regular_file(kRoot / "data/gfx/balls" / (letter + ".sprite.xml"))) << letter;
        if (weight.realValue() * 10 > 0) generated.insert(letter[0]);
        if (letter[0] <= 'e' && weight.realValue() >= 0.1) ++ordinaryColours;
    }
    EXPECT_GE(ordinaryColours, 3) << "too few colours for lines to form";
    for (const auto& [letter, count] : level_["reqs"].dictionaryValue()) {
        EXPECT_TRUE(generated.contains(letter[0])) << "requested " << letter << " is never generated";
        EXPECT_GT(count.intValue(), 0);
    }
    bool hasGoal = !level_["reqs"].dictionaryValue().empty();
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            const char ball = at("preplaced_balls", x, y);
            if (ball != '0') {
                EXPECT_TRUE(
                    fs::is_regular_file(kRoot / "data/gfx/balls" / (std::string(1, ball) + ".sprite.xml")));
            }
            // Tokens and gems are collected when they come to rest on the lower edge; one that starts there
            // never moves and so is never collected.
            if (ball == 't' || (ball >= 'q' && ball <= 's')) {
                EXPECT_TRUE(isCell(x, y + 1)) << ball << " at " << x << "," << y << " starts on the edge";
            }
            hasGoal = hasGoal || ball == 't' || at("map", x, y) > '1' || hasCrate(x, y);
        }
    }
    EXPECT_TRUE(hasGoal) << "nothing to do: the level would be won at once";
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, LevelFileTest, ::testing::ValuesIn(shippedLevels()));

}  // namespace
}  // namespace moonbrook
