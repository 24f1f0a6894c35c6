#include <benchmark/benchmark.h>

#include <memory>

#include "bench/NullRenderer.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTScene.h"

namespace kt {
namespace {

// A node that draws one rectangle and counts its updates, as a typical sprite would.
class SpriteLikeNode : public KTNode {
public:
    void update(float dt) override { elapsed_ += dt; }
    void draw() override { render()->drawRect(getRect()); }

private:
    float elapsed_ = 0;
};

// Builds a scene of `count` nodes: rows of ten under group nodes, every node scheduled for updates.
std::shared_ptr<KTScene> buildScene(int count) {
    auto scene = KTNode::node<KTScene>();
    KTDirector::shared().enqueueScene(scene);
    KTDirector::shared().nextScene();
    std::shared_ptr<KTNode> group;
    for (int i = 0; i < count; ++i) {
        if (i % 10 == 0) {
            group = KTNode::node();
            group->setPosition({static_cast<float>(i % 1000), static_cast<float>(i / 1000)});
            scene->addChild(group);
        }
        auto node = std::make_shared<SpriteLikeNode>();
        node->setPosition({static_cast<float>(i % 10) * 4, 0});
        node->setSize({46, 46});
        group->addChild(node);
        node->scheduleUpdate();
    }
    return scene;
}

void BM_UpdateAndVisitTenThousandNodes(benchmark::State& state) {
    KTDirector& director = KTDirector::shared();
    director.setRenderer(std::make_shared<bench::NullRenderer>());
    director.setFixedDeltaTime(0.0166f);
    auto scene = buildScene(10000);
    for (auto _ : state) {
        director.doUpdate();
        director.doDraw();
    }
    state.SetLabel("one frame: update + visit");
    director.shutdown();
}
BENCHMARK(BM_UpdateAndVisitTenThousandNodes)->Unit(benchmark::kMicrosecond);

void BM_MouseMoveOverThousandChildren(benchmark::State& state) {
    auto scene = KTNode::node<KTScene>();
    KTDirector::shared().enqueueScene(scene);
    KTDirector::shared().nextScene();
    for (int i = 0; i < 1000; ++i) {
        auto child = KTNode::node();
        child->setPosition({static_cast<float>(i % 40) * 25, static_cast<float>(i / 40) * 30});
        child->setSize({24, 29});
        scene->addChild(child);
    }
    float x = 0;
    for (auto _ : state) {
        x = x >= 1000 ? 0 : x + 7;
        scene->mouseMove({x, 400});
    }
    state.SetLabel("one mouseMove: event");
    KTDirector::shared().shutdown();
}
BENCHMARK(BM_MouseMoveOverThousandChildren)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace kt
