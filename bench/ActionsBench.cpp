#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/actions/KTActionManager.h"
#include "engine/actions/KTActionTween.h"
#include "engine/actions/KTActionsModule.h"
#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTEase.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTDirector.h"

namespace kt {
namespace {

// Long enough that no action finishes while the benchmark runs, so every frame steps all of them.
constexpr float kNeverEnding = 1e9f;

// One node per action, each running one of the board's kinds of animation: a move, an eased colour fade,
// or a sequence of a move, a fade and an instant action.
std::vector<std::shared_ptr<KTNode>> runMixedActions(int count) {
    std::vector<std::shared_ptr<KTNode>> nodes;
    nodes.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto node = KTNode::node();
        const CGPoint destination{static_cast<float>(i % 20) * 46, static_cast<float>(i % 13) * 46};
        switch (i % 3) {
            case 0:
                node->runAction(KTMoveTo::actionWithDuration(kNeverEnding, destination));
                break;
            case 1:
                node->runAction(KTEaseIn::actionWithAction(
                    KTActionTweenColor::actionWithDuration(kNeverEnding, Color{0}), 3));
                break;
            default:
                node->runAction(KTSequence::actions({KTMoveTo::actionWithDuration(kNeverEnding, destination),
                                                     KTActionTweenColor::actionWithDuration(1, Color{0}),
                                                     KTHide::action()}));
                break;
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

// One frame of the action manager; items are action steps.
void BM_ActionManagerFrame(benchmark::State& state) {
    KTDirector::shared().shutdown();
    KTInstallActionsModule();
    const int count = static_cast<int>(state.range(0));
    const auto nodes = runMixedActions(count);
    KTActionManager& manager = KTActionManager::shared();
    for (auto _ : state)
        manager.update(1.0f / 60);
    state.SetItemsProcessed(state.iterations() * count);
    KTDirector::shared().shutdown();
}
BENCHMARK(BM_ActionManagerFrame)->Arg(300)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kt
