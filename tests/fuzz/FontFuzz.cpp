// libFuzzer target: a bitmap font file, then a text drawn in it (run by tools/fuzz.sh).
#include <cstddef>
#include <cstdint>

#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTText.h"
#include "tests/fuzz/FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kt::fuzz::FuzzEngine& engine = kt::fuzz::FuzzEngine::shared();
    const std::string name = engine.writeInput("data/fonts/fuzz.xml", data, size);
    auto text = kt::KTNode::node<kt::KTText>();
    text->setFont(kt::KTResourceManager::shared().getFont(name));
    text->setSize({300, 80});
    text->setText("Moonbrook 0123 \xC3\xA9\xC3\x9F \xD0\x96 \xF0\x9F\x8D\xAC\nWAVy, AV.");
    const kt::fuzz::InputScene scene;
    scene->addChild(text);
    engine.runFrames(1);
    return 0;
}
