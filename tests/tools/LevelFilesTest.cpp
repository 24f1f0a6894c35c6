// Checks the first episode's level files in the built data tree the way a level designer would before play:
// every level is listed and timed, its layers fit the board, every cell can be filled from an emitter, and
// its goals can be reached with the balls it generates.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/core/KTPlist.h"

namespace moonbrook {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = MOONBROOK_CONTENT_ROOT;
constexpr int kColumns = 20;
constexpr int kRows = 13;

class Level {
public:
    explicit Level(kt::KTPlist data) : data_(std::move(data)) {}

    const kt::KTPlist& data() const { return data_; }
    std::string layerString(const char* name) const { return data_["options"][name].stringValue(); }
    char at(const char* layerName, int x, int y) const {
        if (x < 0 || y < 0 || x >= kColumns || y >= kRows) return '0';
        const std::string layer = layerString(layerName);
        const auto index = static_cast<std::size_t>(y * kColumns + x);
        return index < layer.size() ? layer[index] : '0';
    }
    bool isCell(int x, int y) const { return at("map", x, y) != '0'; }
    bool isEmitter(int x, int y) const { return at("emitters", x, y) != '0'; }
    bool hasCrate(int x, int y) const { return at("crates", x, y) != '0'; }

private:
    kt::KTPlist data_;
};

std::vector<std::string> firstEpisodeLevels() {
    const auto episodes = kt::KTPlist::readFile((kRoot / "data/episodes.plist").string());
    std::vector<std::string> names;
    if (!episodes) return names;
    for (const kt::KTPlist& name : (*episodes)["episodes"].at(0)["levels"].arrayValue()) {
        names.push_back(name.stringValue());
    }
    return names;
}

TEST(EpisodeList, HasFourEpisodesAndTheFirstHoldsTwelveLevelsInOrder) {
    const auto episodes = kt::KTPlist::readFile((kRoot / "data/episodes.plist").string());
    ASSERT_TRUE(episodes);
    EXPECT_EQ((*episodes)["episodes"].size(), 4u);
    const std::vector<std::string> expected = {"001", "002", "003", "004", "005", "006",
                                               "007", "008", "009", "010", "011", "012"};
    EXPECT_EQ(firstEpisodeLevels(), expected);
}

class LevelFileTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        const auto data = kt::KTPlist::readFile((kRoot / "data/levels" / (GetParam() + ".xml")).string());
        ASSERT_TRUE(data && data->isDictionary()) << GetParam();
        level_.emplace(*data);
    }
    const Level& level() const { return *level_; }

private:
    std::optional<Level> level_;
};

TEST_P(LevelFileTest, IsNumberedAndTimedLikeItsPlaceInTheEpisode) {
    const std::vector<std::string> names = firstEpisodeLevels();
    const auto position = std::find(names.begin(), names.end(), GetParam()) - names.begin();
    EXPECT_EQ(level().data()["id"].intValue(), position);
    const double limit = level().data()["options"]["time_limit"].realValue();
    EXPECT_GT(limit, 30.0);
    const auto limits = kt::KTPlist::readFile((kRoot / "data/level_timelimits.xml").string());
    ASSERT_TRUE(limits);
    EXPECT_DOUBLE_EQ((*limits)[GetParam()].realValue(), limit);
}

TEST_P(LevelFileTest, LayersFitTheBoardAndPutThingsOnlyOnCells) {
    for (const char* layer : {"map", "emitters", "locks", "crates", "preplaced_balls"}) {
        EXPECT_EQ(level().layerString(layer).size(), static_cast<std::size_t>(kColumns * kRows)) << layer;
    }
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            const char map = level().at("map", x, y);
            EXPECT_TRUE(map >= '0' && map <= '3') << x << "," << y;
            if (level().isCell(x, y)) {
                EXPECT_FALSE(level().isEmitter(x, y)) << "emitter on a cell at " << x << "," << y;
                EXPECT_FALSE(level().hasCrate(x, y) && level().at("preplaced_balls", x, y) != '0')
                    << x << "," << y;
                EXPECT_FALSE(level().hasCrate(x, y) && level().at("locks", x, y) == '1') << x << "," << y;
                continue;
            }
            EXPECT_EQ(level().at("locks", x, y), '0') << x << "," << y;
            EXPECT_EQ(level().at("crates", x, y), '0') << x << "," << y;
            EXPECT_EQ(level().at("preplaced_balls", x, y), '0') << x << "," << y;
        }
    }
}

TEST_P(LevelFileTest, EveryCellWithoutACrateCanBeFilledFromAnEmitter) {
    // Balls fall straight down or slide diagonally down; a crate holds no ball and passes none on.
    std::vector<std::vector<bool>> filled(kRows, std::vector<bool>(kColumns, false));
    const auto feeds = [&](int x, int y) {
        if (x < 0 || x >= kColumns || y < 0) return false;
        if (level().isEmitter(x, y)) return true;
        return level().isCell(x, y) && !level().hasCrate(x, y) && filled[y][x];
    };
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            if (!level().isCell(x, y) || level().hasCrate(x, y)) continue;
            filled[y][x] = feeds(x, y - 1) || feeds(x - 1, y - 1) || feeds(x + 1, y - 1);
            EXPECT_TRUE(filled[y][x]) << "cell " << x << "," << y << " is never filled";
        }
    }
}

TEST_P(LevelFileTest, GeneratesEnoughColoursAndHasGoalsThoseBallsCanReach) {
    std::set<char> generated;
    int ordinaryColours = 0;
    for (const auto& [letter, weight] : level().data()["probs"].dictionaryValue()) {
        ASSERT_EQ(letter.size(), 1u);
        EXPECT_TRUE(fs::is_regular_file(kRoot / "data/gfx/balls" / (letter + ".sprite.xml"))) << letter;
        if (weight.realValue() * 10 > 0) generated.insert(letter[0]);
        if (letter[0] <= 'e' && weight.realValue() >= 0.1) ++ordinaryColours;
    }
    EXPECT_GE(ordinaryColours, 3) << "too few colours for lines to form";
    for (const auto& [letter, count] : level().data()["reqs"].dictionaryValue()) {
        EXPECT_TRUE(generated.contains(letter[0])) << "requested " << letter << " is never generated";
        EXPECT_GT(count.intValue(), 0);
    }
    bool hasGoal = !level().data()["reqs"].dictionaryValue().empty();
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            const char ball = level().at("preplaced_balls", x, y);
            if (ball != '0') {
                EXPECT_TRUE(
                    fs::is_regular_file(kRoot / "data/gfx/balls" / (std::string(1, ball) + ".sprite.xml")));
            }
            hasGoal = hasGoal || ball == 't' || level().at("map", x, y) > '1' || level().hasCrate(x, y);
        }
    }
    EXPECT_TRUE(hasGoal) << "nothing to do: the level would be won at once";
}

INSTANTIATE_TEST_SUITE_P(FirstEpisode, LevelFileTest, ::testing::ValuesIn(firstEpisodeLevels()));

}  // namespace
}  // namespace moonbrook
