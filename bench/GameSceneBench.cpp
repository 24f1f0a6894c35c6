#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "bench/DiscardingBackend.h"
#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTPlist.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTRenderModule.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "game/scenes/GameScene.h"
#include "game/scenes/PreloadScene.h"

namespace moonbrook {
namespace {

constexpr float kFrameTime = 1.0f / 60;
constexpr const char* kBusiestLevel = "012";

// What the loading step does before the level's scene is built: the image cache emptied and the game's
// list of files loaded.
void loadingStep() {
    kt::KTResourceManager& resources = kt::KTResourceManager::shared();
    resources.clearImageCache();
    const std::string listPath = MOONBROOK_CONTENT_ROOT "/" + std::string(PreloadScene::kGamePreloadList);
    if (const auto list = kt::KTPlist::readFile(listPath)) {
        for (const kt::KTPlist& file : list->arrayValue())
            resources.preloadFile(file.stringValue());
    }
}

// The engine as the program runs it headless, after the loading step.
void startEngine() {
    kt::KTInstallActionsModule();
    kt::KTInstallRenderModule(std::make_shared<kt::bench::DiscardingBackend>());
    kt::KTResourceManager::shared().setBaseDataPath(MOONBROOK_CONTENT_ROOT "/");
    kt::KTRandom::shared().seed(7);
    kt::KTDirector::shared().setFixedDeltaTime(kFrameTime);
    loadingStep();
}

std::shared_ptr<GameScene> enterLevel(const char* level) {
    auto game = kt::KTNode::node<GameScene>();
    game->initWithLevel(level);
    kt::KTDirector& director = kt::KTDirector::shared();
    director.enqueueScene(game);
    director.nextScene();
    return game;
}

void frame() {
    kt::KTDirector& director = kt::KTDirector::shared();
    director.doUpdate();
    director.doDraw();
}

// The level's scene built and entered after each loading step: what the player waits for once the loading
// screen is done (the pictures outside the game's list, such as the HUD's and the background's, load here).
void BM_LevelLoad(benchmark::State& state) {
    startEngine();
    for (auto _ : state) {
        state.PauseTiming();
        loadingStep();
        state.ResumeTiming();
        const auto game = enterLevel(kBusiestLevel);
        benchmark::DoNotOptimize(game->board().get());
    }
    kt::KTDirector::shared().shutdown();
}
BENCHMARK(BM_LevelLoad)->Unit(benchmark::kMillisecond);

// The biggest bomb in the middle of the richest level of the first episode, then every frame of its cascade
// (removals with their effects, falls, new balls, further lines, the HUD) until the board rests: update,
// visit and submission to the discarding back end. One iteration is one frame; a new bomb goes off, outside
// the timing, whenever the board has come to rest. "worst_ms" is the slowest frame.
void BM_BusiestFrame(benchmark::State& state) {
    startEngine();
    const auto game = enterLevel(kBusiestLevel);
    const auto board = game->board();
    // Past the tutorials' start, with the board resting.
    for (int i = 0; i < 600 || !board->idle(); ++i)
        frame();
    const CellList cells = board->cellsByColumn();
    const CellRef centre = cells[cells.size() / 2];
    double worst = 0;
    for (auto _ : state) {
        if (board->idle()) {
            state.PauseTiming();
            board->explodeAt(centre, u'h');
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        frame();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        worst = std::max(worst, took.count());
    }
    state.counters["worst_ms"] = worst;
    kt::KTDirector::shared().shutdown();
}
BENCHMARK(BM_BusiestFrame)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(3000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace moonbrook
