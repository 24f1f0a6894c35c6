#include "tests/engine/controls/ControlsSceneTest.h"

#include "engine/core/KTDirector.h"
#include "engine/core/KTState.h"

namespace kt::test {

ControlsSceneTest::ControlsSceneTest() {
    auto fake = std::make_unique<FakePlatform>();
    platform = fake.get();
    KTDirector& director = KTDirector::shared();
    director.setPlatform(std::move(fake));
    director.createWindow();
    auto recording = std::make_shared<RecordingAudio>();
    audio = recording.get();
    director.setAudio(std::move(recording));
    writeFile("screens/controls.sg.xml", readFile(MOONBROOK_TEST_SCENE));
}

void ControlsSceneTest::start() {
    scene = KTNode::nodeFromFile<KTBaseMenuScene>("screens/controls.sg.xml");
    runScene(scene);
    frame();
}

CGPoint ControlsSceneTest::centreOf(const std::string& name) const {
    return node(name)->absoluteCenter();
}

void ControlsSceneTest::frame() {
    KTDirector::shared().runFrame();
}

void ControlsSceneTest::queuePointer(KTEvent::Type type, CGPoint point) {
    KTEvent event;
    event.type = type;
    event.mouseButton = 1;
    platform->pointer = KTDirector::shared().screenPointFromRenderPoint(point);
    platform->events.push_back(event);
}

void ControlsSceneTest::move(CGPoint point) {
    queuePointer(KTEvent::Type::mouseMove, point);
    frame();
}

void ControlsSceneTest::press(CGPoint point) {
    queuePointer(KTEvent::Type::mouseMove, point);
    queuePointer(KTEvent::Type::mouseDown, point);
    frame();
}

void ControlsSceneTest::release(CGPoint point) {
    queuePointer(KTEvent::Type::mouseUp, point);
    frame();
}

void ControlsSceneTest::click(CGPoint point) {
    press(point);
    release(point);
}

void ControlsSceneTest::type(const std::string& text) {
    KTEvent event;
    event.type = KTEvent::Type::textInput;
    event.text = text;
    platform->events.push_back(event);
    frame();
}

void ControlsSceneTest::key(ButtonName pressed) {
    KTEvent event;
    event.type = KTEvent::Type::keyDown;
    event.key = pressed;
    platform->events.push_back(event);
    frame();
}

std::string ControlsSceneTest::state() const {
    return scene->currentState() ? scene->currentState()->name : "";
}

}  // namespace kt::test
