#include <gtest/gtest.h>

#include <utility>

#include "engine/services/KTUser.h"
#include "game/progress/LevelManager.h"
#include "tests/game/GameContentTest.h"

namespace moonbrook {
namespace {

class LevelManagerTest : public test::GameContentTest {
protected:
    LevelManagerTest() {
        writeFile("data/episodes.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>episodes</key><array>
<dict><key>title</key><string>Fog</string><key>levels</key><array><string>a1</string><string>a2</string></array></dict>
<dict><key>levels</key><array><string>b1</string><string>b2</string><string>b3</string></array></dict>
</array></dict></plist>)");
    }

    static LevelManager& levels() { return LevelManager::sharedManager(); }
    void writeLevel(const std::string& name, const std::string& options) {
        writeFile("data/levels/" + name + ".xml",
                  "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>options</key><dict>" + options +
                      "</dict></dict></plist>");
    }
};

TEST_F(LevelManagerTest, OrdersLevelsAcrossEpisodes) {
    EXPECT_EQ(levels().levelPosition("a1"), 0u);
    EXPECT_EQ(levels().levelPosition("b1"), 2u);
    EXPECT_EQ(levels().levelPosition("zz"), 0u);
    EXPECT_EQ(levels().nextLevelFor("a2"), "b1");
    EXPECT_EQ(levels().nextLevelFor("b3"), std::nullopt);
    EXPECT_EQ(levels().nextLevelFor("zz"), std::nullopt);
    EXPECT_EQ(levels().totalLevelCountForEpisode(2), 3u);
    EXPECT_EQ(levels().totalLevelCountForEpisode(3), 0u);
}

TEST_F(LevelManagerTest, ResultsAndTheLastLevelMarkProgressAlike) {
    auto& player = addPlayer("Ada");
    EXPECT_EQ(levels().firstUncompletedLevel(), "a1");
    EXPECT_EQ(levels().currentEpisode(), 1u);

    // "last_level" counts the levels before it as done, and both queries agree on the level at it.
    player.setObject(2, "last_level");
    EXPECT_TRUE(levels().levelCompleted("a2"));
    EXPECT_FALSE(levels().levelCompleted("b1"));
    EXPECT_EQ(levels().firstUncompletedLevel(), "b1");
    EXPECT_TRUE(levels().episodeCompleted(1));
    EXPECT_EQ(levels().currentEpisode(), 2u);

    player.setObject(kt::KTPlist(kt::KTPlist::Dictionary{{"b1", 50}, {"b3", 20}}), "levelResults");
    EXPECT_EQ(levels().completedLevelCountForEpisode(2), 2u);
    EXPECT_EQ(levels().firstUncompletedLevel(), "b2");
    player.setObject(kt::KTPlist(kt::KTPlist::Dictionary{{"b1", 50}, {"b2", 30}, {"b3", 20}}),
                     "levelResults");
    EXPECT_EQ(levels().firstUncompletedLevel(), std::nullopt);
    EXPECT_EQ(levels().currentEpisode(), 1u);
}

TEST(LevelStarsTest, CompareTheTimeWithSeventyPercentOfTheLimitAndTheLimit) {
    const std::pair<float, int> cases[] = {{69.9f, 3}, {70.0f, 2}, {100.0f, 2}, {100.1f, 1}, {0.0f, 3}};
    for (const auto& [seconds, stars] : cases)
        EXPECT_EQ(LevelManager::starsForTime(seconds, 100.0f), stars) << seconds;
}

TEST_F(LevelManagerTest, TimeLimitsComeFromTheLevelsUnlessALimitsFileGivesThem) {
    writeLevel("a1", "<key>time_limit</key><real>100</real>");
    writeLevel("a2", "<key>moves</key><integer>3</integer>");
    EXPECT_FLOAT_EQ(levels().timeLimit("a1"), 100.0f);
    EXPECT_FLOAT_EQ(levels().timeLimit("a2"), 0.0f);
    EXPECT_EQ(levels().levelStars("a2", 5.0f), 1);
    EXPECT_EQ(levels().levelStars("a1", 65.0f), 3);

    writeFile(
        "data/level_timelimits.xml",
        R"(<?xml version="1.0"?><plist version="1.0"><dict><key>a1</key><real>40</real></dict></plist>)");
    LevelManager::resetSharedManager();
    EXPECT_FLOAT_EQ(levels().timeLimit("a1"), 40.0f);
    EXPECT_FLOAT_EQ(levels().timeLimit("b1"), 0.0f);
}

TEST_F(LevelManagerTest, KeepsTheBestTimeAndRatesIt) {
    writeLevel("a1", "<key>time_limit</key><real>100</real>");
    addPlayer("Ada");
    EXPECT_EQ(levels().levelStars("a1"), 1);
    EXPECT_FLOAT_EQ(levels().recordResult("a1", 90.0f), 90.0f);
    EXPECT_EQ(levels().levelStars("a1"), 2);
    EXPECT_FLOAT_EQ(levels().recordResult("a1", 95.0f), 90.0f);
    EXPECT_FLOAT_EQ(levels().recordResult("a1", 60.0f), 60.0f);
    EXPECT_EQ(levels().levelStars("a1"), 3);
    EXPECT_TRUE(levels().levelCompleted("a1"));
}

TEST_F(LevelManagerTest, WithoutEpisodesThereIsNothingToPlay) {
    writeFile("data/episodes.plist", "<plist><dict><key>episodes</key>");
    addPlayer("Ada");
    EXPECT_EQ(levels().firstUncompletedLevel(), std::nullopt);
    EXPECT_EQ(levels().currentEpisode(), 1u);
    EXPECT_EQ(countInLog("data/episodes.plist"), 1);
}

}  // namespace
}  // namespace moonbrook
