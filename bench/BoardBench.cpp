#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

#include "bench/DiscardingBackend.h"
#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTPlist.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTRenderModule.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {
namespace {

// The letter at (x, y) of a row-major layer, or none outside it.
char letterAt(const std::string& layer, int x, int y) {
    if (x < 0 || y < 0) return '\0';
    return layer[static_cast<std::size_t>(y) * kSizeX + static_cast<std::size_t>(x)];
}

// Random ordinary balls over the whole grid, none of them already in a line, as a level starts.
std::string ballsWithoutLines() {
    std::string balls;
    for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
        for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
            char letter = '\0';
            do {
                letter = static_cast<char>('a' + kt::randi(0, 4));
            } while ((letter == letterAt(balls, x - 1, y) && letter == letterAt(balls, x - 2, y)) ||
                     (letter == letterAt(balls, x, y - 1) && letter == letterAt(balls, x, y - 2)));
            balls += letter;
        }
    }
    return balls;
}

// A full 20 x 13 field of five colours.
std::shared_ptr<Board> fullBoard() {
    kt::KTInstallActionsModule();
    kt::KTInstallRenderModule(std::make_shared<kt::bench::DiscardingBackend>());
    kt::KTResourceManager::shared().setBaseDataPath(MOONBROOK_CONTENT_ROOT "/");
    kt::KTRandom::shared().seed(7);

    kt::KTPlist level = kt::KTPlist::emptyDictionary();
    level["options"] = kt::KTPlist::emptyDictionary();
    level["options"]["map"] = std::string(kSizeX * kSizeY, '1');
    level["options"]["preplaced_balls"] = ballsWithoutLines();

    auto board = Board::board();
    board->setLevelData("bench", level);
    board->reset();
    return board;
}

void BM_FindAllTurns(benchmark::State& state) {
    const auto board = fullBoard();
    std::size_t turns = 0;
    for (auto _ : state) {
        turns = board->findAllTurns().size();
        benchmark::DoNotOptimize(turns);
    }
    state.counters["turns"] = static_cast<double>(turns);
    state.SetItemsProcessed(state.iterations() * kSizeX * kSizeY);
}
BENCHMARK(BM_FindAllTurns);

constexpr float kFrameTime = 1.0f / 60;
constexpr int kMaxSettleFrames = 6000;

// Updates without drawing until the board rests; answers the simulated seconds.
float settle(const Board& board) {
    kt::KTDirector& director = kt::KTDirector::shared();
    int frames = 0;
    while (!board.idle() && frames < kMaxSettleFrames) {
        director.doUpdate();
        ++frames;
    }
    return static_cast<float>(frames) * kFrameTime;
}

// A 16 x 12 field under a row of emitters with five colours, in a running scene and settled. A lone plated
// cell out of every ball's reach keeps the level from being won, so the board never stops.
std::shared_ptr<Board> settledOpenField() {
    kt::KTInstallActionsModule();
    kt::KTInstallRenderModule(std::make_shared<kt::bench::DiscardingBackend>());
    kt::KTResourceManager::shared().setBaseDataPath(MOONBROOK_CONTENT_ROOT "/");
    kt::KTRandom::shared().seed(7);
    kt::KTDirector& director = kt::KTDirector::shared();
    director.setFixedDeltaTime(kFrameTime);
    const auto scene = kt::KTNode::node<kt::KTScene>();
    director.enqueueScene(scene);
    director.nextScene();

    const std::string row = "0011111111111111110";
    std::string map = std::string(kSizeX, '0');
    for (int y = 1; y < static_cast<int>(kSizeY); ++y)
        map += row + "0";
    map[(kSizeY - 1) * kSizeX] = '2';
    kt::KTPlist level = kt::KTPlist::emptyDictionary();
    level["options"] = kt::KTPlist::emptyDictionary();
    level["options"]["map"] = map;
    level["options"]["emitters"] = row;
    level["options"]["time_limit"] = 600;
    for (const char* letter : {"a", "b", "c", "d", "e"})
        level["probs"][letter] = 0.2;

    auto board = Board::board();
    scene->addChild(board);
    board->setLevelData("bench", level);
    board->reset();
    settle(*board);
    return board;
}

// A found turn played and its whole cascade (removal, placeholders, falls, new balls, further lines) run
// until the board rests, with the fixed frame time and no drawing. "simulated" is simulated seconds per
// CPU second: how many times faster than real time the rules run.
void BM_SwapCascadeUntilSettled(benchmark::State& state) {
    const auto board = settledOpenField();
    double simulated = 0;
    double longest = 0;
    for (auto _ : state) {
        const std::vector<Turn> turns = board->findAllTurns();
        if (turns.empty()) {
            state.SkipWithError("no turn left on the board");
            break;
        }
        board->setSelected(turns.front().neighbour);
        board->startSwapWith(turns.front().cell);
        const float seconds = settle(*board);
        simulated += seconds;
        longest = std::max(longest, static_cast<double>(seconds));
    }
    state.counters["simulated"] = benchmark::Counter(simulated, benchmark::Counter::kIsRate);
    state.counters["longest_cascade_s"] = longest;
    kt::KTDirector::shared().shutdown();
}
BENCHMARK(BM_SwapCascadeUntilSettled)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace moonbrook
