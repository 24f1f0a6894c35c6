// libFuzzer target: a sprite file with its animations and frames, played for a few seconds (run by
// tools/fuzz.sh).
#include <cstddef>
#include <cstdint>

#include "engine/core/KTScene.h"
#include "engine/render/KTSprite.h"
#include "tests/fuzz/FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kt::fuzz::FuzzEngine& engine = kt::fuzz::FuzzEngine::shared();
    const std::string name = engine.writeInput("data/gfx/fuzz.sprite.xml", data, size);
    auto sprite = kt::KTNode::nodeFromFile<kt::KTSprite>(name);
    const kt::fuzz::InputScene scene;
    scene->addChild(sprite);
    for (const char* animation : {"appearance", "random1", "victory", "missing"}) {
        sprite->setAnimation(animation);
        engine.runFrames(4, 0.2f);
    }
    return 0;
}
