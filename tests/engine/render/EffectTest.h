#pragma once

#include <memory>

#include "engine/core/KTDirector.h"
#include "engine/core/KTScene.h"
#include "tests/support/DataFileTest.h"
#include "tests/support/RecordingRenderer.h"

namespace kt::test {

// Effect nodes in a running scene that draws through a recording renderer.
class EffectTest : public DataFileTest {
protected:
    EffectTest() {
        KTDirector::shared().setRenderer(renderer);
        scene = runScene();
    }

    // Updates every scheduled node, then draws the scene.
    void frame(float dt) {
        KTDirector::shared().setFixedDeltaTime(dt);
        KTDirector::shared().doUpdate();
        KTDirector::shared().doDraw();
    }

    std::shared_ptr<RecordingRenderer> renderer = std::make_shared<RecordingRenderer>();
    std::shared_ptr<KTScene> scene;
};

}  // namespace kt::test
