// libFuzzer target: an effect file (particle systems and emitters, bolts, flights, flocks, sounds), started
// on a node and played until it ends or for five seconds (run by tools/fuzz.sh).
#include <cstddef>
#include <cstdint>

#include "engine/core/KTScene.h"
#include "tests/fuzz/FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kt::fuzz::FuzzEngine& engine = kt::fuzz::FuzzEngine::shared();
    const std::string name = engine.writeInput("data/effects/fuzz.xml", data, size);
    const kt::fuzz::InputScene scene;
    scene->startEffect(name, {512, 384});
    for (int frame = 0; frame < 25 && !scene->children().empty(); ++frame)
        engine.runFrames(1, 0.2f);
    return 0;
}
