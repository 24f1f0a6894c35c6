#pragma once

#include <memory>
#include <string>

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

    // The first child of a node read from a scene file holding the element.
    template <typename T>
    std::shared_ptr<T> fromElement(const std::string& element) {
        const std::string name = "data/effect" + std::to_string(++files_) + ".xml";
        writeFile(name, "<node>" + element + "</node>");
        const auto holder = KTNode::nodeFromFile(name);
        auto node = std::dynamic_pointer_cast<T>(holder->firstChild());
        if (node) holder->removeChild(node.get());
        return node;
    }

    // Updates every scheduled node, then draws the scene.
    void frame(float dt) {
        KTDirector::shared().setFixedDeltaTime(dt);
        KTDirector::shared().doUpdate();
        KTDirector::shared().doDraw();
    }

    std::shared_ptr<RecordingRenderer> renderer = std::make_shared<RecordingRenderer>();
    std::shared_ptr<KTScene> scene;

private:
    int files_ = 0;
};

}  // namespace kt::test
