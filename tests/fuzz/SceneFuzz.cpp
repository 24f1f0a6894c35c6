// libFuzzer target: a scene file through the node factory, with its states switched and its popups
// loaded, drawn for a few frames (run by tools/fuzz.sh).
#include <cstddef>
#include <cstdint>

#include "engine/core/KTScene.h"
#include "tests/fuzz/FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kt::fuzz::FuzzEngine& engine = kt::fuzz::FuzzEngine::shared();
    const std::string name = engine.writeInput("data/scenes/fuzz.sg.xml", data, size);
    const kt::fuzz::InputScene scene;
    scene->loadFromFile(name);
    for (const char* state : {"default", "win", "pause", "hide", "show", "default"}) {
        scene->setState(state);
        engine.runFrames(2, 0.3f);
    }
    return 0;
}
