// Runs inside an X server of its own (xvfb-run): the real program opens its real window.
#include <gtest/gtest.h>

#include <thread>

#include "tests/app/GameProcess.h"

// Xlib last: its macros (None, Bool, Status) would clash with the test framework.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace moonbrook::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kTimeout = 30s;
constexpr const char* kLog = "data-home/Moonbrook/log.txt";

// Answers the condition as soon as it holds, or false once the timeout has passed.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds timeout = kTimeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

XErrorHandler defaultErrorHandler = nullptr;

// A window of an earlier run may vanish between listing the windows and reading one; Xlib's own handler
// would end the whole test for that.
int ignoreVanishedWindows(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow) return 0;
    return defaultErrorHandler ? defaultErrorHandler(display, error) : 0;
}

class WindowTest : public ::testing::Test {
protected:
    WindowTest() : display_(XOpenDisplay(nullptr)) {
        XErrorHandler previous = XSetErrorHandler(ignoreVanishedWindows);
        if (previous != ignoreVanishedWindows) defaultErrorHandler = previous;
    }
    ~WindowTest() override {
        if (display_) XCloseDisplay(display_);
    }

    void SetUp() override { ASSERT_TRUE(display_) << "no X display; run through xvfb-run"; }

    // The program's shown top-level window with that title.
    std::optional<Window> windowTitled(const std::string& title) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, XDefaultRootWindow(display_), &root, &parent, &children, &count)) return {};
        std::optional<Window> found;
        for (unsigned i = 0; i < count && !found; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes{};
            if (XFetchName(display_, children[i], &name) && name && title == name &&
                XGetWindowAttributes(display_, children[i], &attributes) &&
                attributes.map_state == IsViewable) {
                found = children[i];
            }
            if (name) XFree(name);
        }
        if (children) XFree(children);
        return found;
    }

    Window waitForGameWindow(GameProcess& game) {
        std::optional<Window> window;
        const bool shown = eventually([&] {
            window = windowTitled("Moonbrook");
            return window || !game.running();
        });
        EXPECT_TRUE(shown && window) << "no window titled Moonbrook; " << game.errorOutput();
        return window.value_or(0);
    }

    // What a window manager sends when the player clicks the close button.
    void requestClose(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XFlush(display_);
    }

    // Presses the keys in order and releases them in reverse, as a player's fingers would.
    void typeChord(Window window, std::initializer_list<KeySym> keys) {
        XSetInputFocus(display_, window, RevertToParent, CurrentTime);
        for (const KeySym key : keys) {
            const KeyCode code = XKeysymToKeycode(display_, key);
            ASSERT_NE(code, 0) << XKeysymToString(key) << " is not on the keyboard";
            XTestFakeKeyEvent(display_, code, True, CurrentTime);
        }
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
            XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, *key), False, CurrentTime);
        }
        XFlush(display_);
    }

    // Right after the window shows, the program may not take keys yet: Escape is typed until it arrives.
    bool keysArrive(Window window) {
        return eventually([&] {
            typeChord(window, {XK_Escape});
            return eventually([&] { return logShows("KEYDOWN: Escape"); }, 500ms);
        });
    }

    bool logShows(const std::string& text) const {
        return folder_.read(kLog).find(text) != std::string::npos;
    }

    Display* display_;
    TestFolder folder_;
};

TEST_F(WindowTest, OpensA1024By768WindowTitledMoonbrookAndEndsOnACloseRequest) {
    GameProcess game(folder_.path(), {});
    const Window window = waitForGameWindow(game);
    ASSERT_NE(window, 0u);
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display_, window, &attributes));
    EXPECT_EQ(attributes.width, 1024);
    EXPECT_EQ(attributes.height, 768);
    requestClose(window);
    EXPECT_EQ(game.waitForExit(kTimeout), 0) << game.errorOutput();
}

TEST_F(WindowTest, ScreenshotReadsTheWindowsFrame) {
    folder_.write("script.txt", "wait 2\nscreenshot shot.png\nquit\n");
    GameProcess game(folder_.path(), {"--script", "script.txt"});
    EXPECT_EQ(game.waitForExit(kTimeout), 0) << game.errorOutput();
    const std::string png = folder_.read("shot.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x04\0\0\0\x03\0", 8));
}

TEST_F(WindowTest, AltF4EndsAfterTheSceneSawTheKey) {
    GameProcess game(folder_.path(), {});
    const Window window = waitForGameWindow(game);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(keysArrive(window)) << folder_.read(kLog);
    typeChord(window, {XK_Alt_L, XK_F4});
    EXPECT_EQ(game.waitForExit(kTimeout), 0) << game.errorOutput();
    EXPECT_TRUE(logShows("KEYDOWN: F4"));
}

TEST_F(WindowTest, GuiQEnds) {
    GameProcess game(folder_.path(), {});
    const Window window = waitForGameWindow(game);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(keysArrive(window)) << folder_.read(kLog);
    typeChord(window, {XK_Super_L, XK_q});
    EXPECT_EQ(game.waitForExit(kTimeout), 0) << game.errorOutput();
}

TEST_F(WindowTest, F4AndQAloneOrWithOtherModifiersKeepItRunning) {
    GameProcess game(folder_.path(), {});
    const Window window = waitForGameWindow(game);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(keysArrive(window)) << folder_.read(kLog);
    typeChord(window, {XK_F4});
    typeChord(window, {XK_Control_L, XK_q});
    typeChord(window, {XK_Shift_L, XK_F4});
    // Keys arrive in order, so once Return is seen the chords before it were handled.
    typeChord(window, {XK_Return});
    ASSERT_TRUE(eventually([&] { return logShows("KEYDOWN: Return"); })) << folder_.read(kLog);
    EXPECT_TRUE(game.running());
    requestClose(window);
    EXPECT_EQ(game.waitForExit(kTimeout), 0);
}

}  // namespace
}  // namespace moonbrook::test
