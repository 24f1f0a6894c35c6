#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "engine/core/KTPlatform.h"

namespace kt::test {

// A platform without a window: a clock the test sets, a desktop of chosen size, events the test queues.
class FakePlatform : public KTPlatform {
public:
    std::uint32_t now = 0;
    CGSize desktop{1920, 1080};
    CGSize usable{1920, 1040};
    // The window frame's total width and height, known only once the window exists.
    CGSize frame;
    CGPoint pointer;
    std::deque<KTEvent> events;
    bool windowCreated = false;
    CGSize windowSize;
    // What the window draws into; the window's own size unless a test says otherwise.
    CGSize drawable;
    std::string title;
    bool fullscreen = false;
    bool textInput = false;

    std::uint32_t ticks() override { return now; }
    CGSize desktopSize() override { return desktop; }
    CGSize usableWindowArea() override {
        if (!windowCreated) return usable;
        return {usable.width - frame.width, usable.height - frame.height};
    }
    bool createWindow(CGSize size) override {
        windowCreated = true;
        windowSize = drawable = size;
        return true;
    }
    bool hasWindow() const override { return windowCreated; }
    void placeWindow(CGSize size) override { windowSize = drawable = size; }
    CGSize drawableSize() override { return drawable; }
    void setWindowTitle(const std::string& newTitle) override { title = newTitle; }
    void setWindowIcon(const std::string&) override {}
    void setFullscreen(bool on, CGSize) override { fullscreen = on; }
    void startTextInput() override { textInput = true; }
    void stopTextInput() override { textInput = false; }

protected:
    bool pollPlatformEvent(KTEvent& event) override {
        if (events.empty()) return false;
        event = events.front();
        events.pop_front();
        return true;
    }
    CGPoint platformMousePosition() override { return pointer; }
};

}  // namespace kt::test
