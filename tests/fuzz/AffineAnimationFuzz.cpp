// libFuzzer target: an affine animation key file, played over a drawn node past its end (run by
// tools/fuzz.sh).
#include <cstddef>
#include <cstdint>

#include "engine/actions/KTAffineAnimation.h"
#include "engine/actions/KTAffineAnimationNode.h"
#include "engine/core/KTColor.h"
#include "engine/core/KTScene.h"
#include "tests/fuzz/FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kt::fuzz::FuzzEngine& engine = kt::fuzz::FuzzEngine::shared();
    const std::string name = engine.writeInput("data/gfx/fuzz_anim.xml", data, size);
    auto player = kt::KTNode::node<kt::KTAffineAnimationNode>();
    player->setSize({64, 64});
    player->setAffineAnimation(kt::KTAffineAnimation::affineAnimationFromFile(name));
    auto drawn = kt::KTNode::node();
    drawn->setSize({64, 64});
    drawn->setBackgroundColor(kt::kColorWhite);
    player->addChild(drawn);
    const kt::fuzz::InputScene scene;
    scene->addChild(player);
    engine.runFrames(12, 0.25f);
    return 0;
}
