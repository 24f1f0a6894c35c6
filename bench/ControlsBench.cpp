#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/controls/KTDragBox.h"
#include "engine/controls/KTTextInput.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTScene.h"

namespace kt {
namespace {

std::shared_ptr<KTScene> runningScene() {
    auto scene = KTNode::node<KTScene>();
    KTDirector::shared().enqueueScene(scene);
    KTDirector::shared().nextScene();
    return scene;
}

// A name of 32 characters typed one at a time, mixing one- to four-byte characters, then erased.
void BM_TypeAndEraseAName(benchmark::State& state) {
    auto scene = runningScene();
    auto field = std::make_shared<KTTextInput>();
    field->setLimit(32);
    scene->addChild(field);
    scene->setFocus(field);
    const std::string characters[] = {"a", "é", "Д", "😀"};
    for (auto _ : state) {
        for (int i = 0; i < 32; ++i)
            scene->textInput(characters[i % 4]);
        for (int i = 0; i < 32; ++i)
            scene->keyDown(kbBackspace);
        benchmark::DoNotOptimize(field->text());
    }
    state.SetLabel("32 characters typed and erased");
    KTDirector::shared().shutdown();
}
BENCHMARK(BM_TypeAndEraseAName)->Unit(benchmark::kMicrosecond);

// A drag across a strip of 100 pages, released so that the box looks for the page to snap to.
void BM_DragAStripOfPages(benchmark::State& state) {
    auto scene = runningScene();
    auto strip = std::make_shared<KTDragBox>();
    strip->setAttributes({{"w", "300"},
                          {"h", "100"},
                          {"drag_horizontally", "1"},
                          {"child_switch", "1"},
                          {"min_displacement_x", "-30000"}});
    for (int i = 0; i < 100; ++i) {
        auto page = KTNode::node();
        page->setPosition({static_cast<float>(i) * 300 + 100, 0});
        page->setSize({100, 100});
        strip->addChild(page);
    }
    scene->addChild(strip);
    for (auto _ : state) {
        scene->mouseMove({250, 50});
        scene->buttonDown(msLeft, {250, 50});
        scene->mouseMove({150, 50});
        scene->mouseMove({50, 50});
        scene->buttonUp(msLeft, {50, 50});
        strip->stopAllActions();
        strip->setDisplacementX(0);
    }
    state.SetLabel("press, two moves, release and snap");
    KTDirector::shared().shutdown();
}
BENCHMARK(BM_DragAStripOfPages)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kt
