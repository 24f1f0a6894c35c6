#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/core/KTDirector.h"
#include "engine/core/KTPlist.h"
#include "game/board/Board.h"
#include "tests/support/DataFileTest.h"
#include "tests/support/EngineTest.h"
#include "tools/levelcheck/BotPlayer.h"
#include "tools/levelcheck/Bots.h"
#include "tools/levelcheck/LevelCheck.h"
#include "tools/levelcheck/ParallelRuns.h"

namespace moonbrook::levelcheck {
namespace {

using kt::KTPlist;

// Rows of a layer, top row first, padded to the grid's width with '0'.
std::string layer(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : rows)
        text += row + std::string(kSizeX - row.size(), '0');
    return text;
}

struct Layers {
    std::vector<std::string> map;
    std::vector<std::string> emitters{};
    std::vector<std::string> balls{};
};

KTPlist level(const Layers& layers, float timeLimit = 60) {
    KTPlist data = KTPlist::emptyDictionary();
    data["options"]["map"] = layer(layers.map);
    data["options"]["emitters"] = layer(layers.emitters);
    data["options"]["preplaced_balls"] = layer(layers.balls);
    data["options"]["time_limit"] = timeLimit;
    for (const char* letter : {"a", "b", "c", "d", "e"})
        data["probs"][letter] = 0.2;
    return data;
}

// Five columns fed by emitters; the plate in column 10 has nothing above it, so no ball ever reaches it.
KTPlist unreachablePlate() {
    return level({.map = {"", "11111", "11111", "11111", "11111", "11111     2"}, .emitters = {"11111"}});
}

// Three balls of three colours and no emitter: no swap ever makes a line.
KTPlist stuckFromTheStart() {
    return level({.map = {"211"}, .balls = {"abc"}});
}

// One swap makes the only line, over the only plates.
KTPlist wonByOneSwap() {
    return level({.map = {"2221"}, .balls = {"aaba"}});
}

class LevelCheckTest : public kt::test::EngineTest {
protected:
    LevelCheckTest() { installHeadlessEngine(MOONBROOK_CONTENT_ROOT, 1); }

    static RunResult play(const KTPlist& data, const std::string& bot, SimulationOptions options = {},
                          std::uint32_t seed = 1) {
        const std::unique_ptr<Bot> player = makeBot(bot);
        return LevelSimulation("test", data, options).run(*player, seed);
    }
};

TEST_F(LevelCheckTest, EveryBotWinsALevelWonByItsOnlySwap) {
    for (const std::string& bot : botNames()) {
        const RunResult result = play(wonByOneSwap(), bot);
        EXPECT_TRUE(result.won) << bot;
        EXPECT_EQ(result.moves, 1) << bot;
        EXPECT_EQ(result.stuckSettles, 0) << bot;
        // The thinking time, the swap and the win check after the board has come to rest.
        EXPECT_GT(result.time, 1.5f + 0.25f) << bot;
        EXPECT_LT(result.time, 6.0f) << bot;
    }
}

// A screen's popup pauses the board as the win does; the bot must neither take it for a win nor play under
// it.
TEST_F(LevelCheckTest, BotWaitsOutAPausedBoardAndWinsAfterIt) {
    kt::KTDirector& director = kt::KTDirector::shared();
    director.setFixedDeltaTime(SimulationOptions().frameTime);
    auto board = Board::board();
    board->setLevelData("test", wonByOneSwap());
    board->reset();
    const std::unique_ptr<Bot> bot = makeBot("greedy");
    BotPlayer player(board, *bot, 1, {});
    board->setPause(true);
    for (int frame = 0; frame < 300; ++frame) {
        director.doUpdate();
        ASSERT_TRUE(player.afterUpdate()) << frame;
    }
    EXPECT_EQ(player.result().moves, 0);
    board->setPause(false);
    do {
        director.doUpdate();
    } while (player.afterUpdate());
    EXPECT_TRUE(player.result().won);
    EXPECT_EQ(player.result().moves, 1);
}

TEST_F(LevelCheckTest, PlateNoBallReachesIsNeverWonButThePlayGoesOn) {
    const RunResult result = play(unreachablePlate(), "greedy", {.maxTime = 30});
    EXPECT_FALSE(result.won);
    EXPECT_GT(result.moves, 5);
    EXPECT_FALSE(result.softLocked);
    EXPECT_NEAR(result.time, 30, 0.1);
}

TEST_F(LevelCheckTest, BoardWithoutMovesIsLeftByAChargedPowerupElseRestartedThenCountedAsSoftLock) {
    const RunResult charged = play(stuckFromTheStart(), "greedy", {.stuckWait = 120, .maxRestarts = 0});
    EXPECT_GE(charged.escapedByPowerup, 1);
    EXPECT_FALSE(charged.softLocked);

    // A profile without powerups.
    installBotProfile(0);
    const RunResult result = play(stuckFromTheStart(), "greedy", {.stuckWait = 2, .maxRestarts = 2});
    EXPECT_FALSE(result.won);
    EXPECT_EQ(result.moves, 0);
    EXPECT_EQ(result.stuckSettles, 3);
    EXPECT_EQ(result.restarts, 2);
    EXPECT_EQ(result.escapedByPowerup, 0);
    EXPECT_TRUE(result.softLocked);
}

TEST_F(LevelCheckTest, RunsRepeatForASeedAndResultsDoNotDependOnTheJobCount) {
    const auto plan = [](int jobs) {
        RunPlan made{{}, {"open", "one"}, 3, "greedy", 11, jobs};
        made.levels.emplace_back("open", unreachablePlate(), SimulationOptions{.maxTime = 20});
        made.levels.emplace_back("one", wonByOneSwap());
        return made;
    };
    const auto single = playAll(plan(1), {});
    ASSERT_TRUE(single);
    const auto parallel = playAll(plan(3), {});
    ASSERT_TRUE(parallel);
    EXPECT_EQ(*single, *parallel);
    ASSERT_EQ(single->size(), 2u);
    ASSERT_EQ(single->front().size(), 3u);
    EXPECT_NE(runSeed(11, "open", 2), runSeed(11, "one", 2));
}

class LevelCheckToolTest : public LevelCheckTest {
protected:
    std::filesystem::path writeLevel(const std::string& name, const KTPlist& data) const {
        const auto path = userDataHome() / name;
        EXPECT_TRUE(data.writeFile(path.string()));
        return path;
    }

    int check(std::vector<std::string> arguments) {
        std::string error;
        auto options = parseLevelCheckOptions(arguments, error);
        EXPECT_TRUE(options) << error;
        options->dataRoot = MOONBROOK_CONTENT_ROOT;
        out.str({});
        err.str({});
        return runLevelCheck(*options, out, err);
    }

    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(LevelCheckToolTest, BadLevelFilesAreNamedAndTheOthersStillChecked) {
    const auto good = writeLevel("good.xml", wonByOneSwap());
    const auto damaged = userDataHome() / "damaged.xml";
    std::ofstream(damaged) << "<?xml version=\"1.0\"?><plist><dict><key>options</key>";
    const auto notLevel = writeLevel("list.xml", KTPlist(KTPlist::Array{}));
    const auto json = userDataHome() / "report.json";
    EXPECT_EQ(check({"--runs", "2", "--json", json.string(), damaged.string(), "no_such_level", good.string(),
                     notLevel.string()}),
              1);
    for (const std::string& named : {damaged.string(), std::string("no_such_level.xml"), notLevel.string()})
        EXPECT_NE(err.str().find(named), std::string::npos) << named << "\n" << err.str();
    EXPECT_NE(out.str().find("good"), std::string::npos) << out.str();
    ASSERT_TRUE(std::filesystem::exists(json));
    EXPECT_NE(kt::test::readFile(json).find("\"good\""), std::string::npos);
    // The report was written beside its place and renamed: nothing else is left.
    for (const auto& entry : std::filesystem::directory_iterator(userDataHome()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}

TEST_F(LevelCheckToolTest, CheckFailsOnALevelNeverWon) {
    const auto never = writeLevel("never.xml", unreachablePlate());
    EXPECT_EQ(check({"--check", "--runs", "1", "--max-time", "10", never.string()}), 1);
    EXPECT_NE(err.str().find("never won"), std::string::npos);
}

}  // namespace
}  // namespace moonbrook::levelcheck
