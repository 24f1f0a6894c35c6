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
    CGPoint pointer;
    std::deque<KTEvent> events;
    bool windowCreated = false;
    CGSize windowSize;
    std::string title;
    bool fullscreen = false;
    bool textInput = false;

    std::uint32_t ticks() override { return now; }
    CGSize desktopSize() override { return desktop; }
    CGSize usableWindowArea() override { return usable; }
    bool createWindow(CGSize size) override {
        windowCreated = true;
        windowSize = size;
        return true;
    }
    bool hasWindow() const override { return windowCreated; }
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
