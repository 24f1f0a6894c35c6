#pragma once

#include <memory>
#include <string>

#include "engine/controls/KTBaseMenuScene.h"
#include "tests/engine/services/ProfileTest.h"
#include "tests/support/FakePlatform.h"

namespace kt::test {

// The test scene with every control, running in the director, driven by window events as a player would:
// each input call queues the platform's events and runs one frame.
class ControlsSceneTest : public ProfileTest {
protected:
    ControlsSceneTest();

    // Loads and starts the scene; tests that prepare profiles first call it themselves.
    void start();
    template <typename T = KTNode>
    std::shared_ptr<T> node(const std::string& name) const {
        return std::dynamic_pointer_cast<T>(scene->getChildByName(name));
    }
    // The centre of a node on the logical screen, where the pointer calls below take their points.
    CGPoint centreOf(const std::string& name) const;

    void frame();
    void move(CGPoint point);
    void press(CGPoint point);
    void release(CGPoint point);
    void click(CGPoint point);
    void clickNode(const std::string& name) { click(centreOf(name)); }
    void type(const std::string& text);
    void key(ButtonName key);
    std::string state() const;

    FakePlatform* platform = nullptr;
    RecordingAudio* audio = nullptr;
    std::shared_ptr<KTBaseMenuScene> scene;

private:
    void queuePointer(KTEvent::Type type, CGPoint point);
};

}  // namespace kt::test
