#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/DiscardingBackend.h"
#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTPlist.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTRenderModule.h"
#include "game/board/Board.h"

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

}  // namespace
}  // namespace moonbrook
