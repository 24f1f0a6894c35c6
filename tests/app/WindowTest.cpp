// Runs inside an X server of its own (xvfb-run): the real program opens its real window.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"
#include "tests/app/WindowCapture.h"

// Xlib last: its macros (None, Bool, Status) would clash with the test framework.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace moonbrook::test {
namespace {

using namespace std::chrono_literals;

namespace fs = std::filesystem;

constexpr auto kTimeout = 30s;
// Starting the program and settling the board take a few seconds, many more on a busy machine or in the
// sanitizer build.
constexpr auto kSlowTimeout = 120s;

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

    // SDL makes the window again when it gives it an OpenGL renderer, so the window is looked for only once
    // the renderer exists.
    Window waitForGameWindow(GameProcess& game) {
        EXPECT_TRUE(eventually([&] { return logShows("renderer: ") || !game.running(); }, kSlowTimeout))
            << game.errorOutput();
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

    // The game's window once it takes keys; 0 when it never does. Right after the window shows, the program
    // may not take keys yet: Escape is typed until it arrives.
    Window windowTakingKeys(GameProcess& game) {
        const Window window = waitForGameWindow(game);
        const bool keysArrive = window != 0 && eventually([&] {
                                    typeChord(window, {XK_Escape});
                                    return eventually([&] { return logShows("KEYDOWN: Escape"); }, 500ms);
                                });
        return keysArrive ? window : 0;
    }

    // A profile that chose a window over full screen, which a new player starts in.
    void chooseWindowedMode() const {
        fs::create_directories(folder_.path() / "data-home/Moonbrook");
        folder_.write("data-home/Moonbrook/users.xml",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                      "<key>selected_user_name</key><string>Tester</string><key>users</key><array><dict>"
                      "<key>name</key><string>Tester</string><key>fullscreen</key><false/></dict></array>"
                      "</dict></plist>\n");
    }

    bool logShows(const std::string& text) const {
        return folder_.read(kLog).find(text) != std::string::npos;
    }

    Display* display_;
    TestFolder folder_;
};

// The close request, which ends the game too, closes every picture case below.
TEST_F(WindowTest, OpensA1024By768WindowTitledMoonbrookAndAltF4EndsItAfterTheSceneSawTheKey) {
    chooseWindowedMode();
    GameProcess game(folder_.path(), {});
    const Window window = windowTakingKeys(game);
    ASSERT_NE(window, 0u) << folder_.read(kLog);
    // The profile's choice of a window comes once the profiles are read.
    XWindowAttributes attributes{};
    const bool windowed = eventually([&] {
        return XGetWindowAttributes(display_, window, &attributes) && attributes.width == 1024 &&
               attributes.height == 768;
    });
    EXPECT_TRUE(windowed) << attributes.width << " x " << attributes.height;
    typeChord(window, {XK_Alt_L, XK_F4});
    EXPECT_EQ(game.waitForExit(kTimeout), 0) << game.errorOutput();
    EXPECT_EQ(occurrences(folder_.read(kLog), "KEYDOWN: F4"), 1u) << folder_.read(kLog);
}

// The full-screen window is larger than the logical screen, which the screenshot holds all the same.
TEST_F(WindowTest, F4AndQAloneOrWithOtherModifiersKeepItRunningGuiQEndsItAndTheScreenshotIsTheLogicalFrame) {
    folder_.write("script.txt", "wait 2\nscreenshot shot.png\n");
    GameProcess game(folder_.path(), {"--script", "script.txt"});
    const Window window = windowTakingKeys(game);
    ASSERT_NE(window, 0u) << folder_.read(kLog);
    typeChord(window, {XK_F4});
    typeChord(window, {XK_Control_L, XK_q});
    typeChord(window, {XK_Shift_L, XK_F4});
    // Keys arrive in order, so once Return is seen the chords before it were handled.
    typeChord(window, {XK_Return});
    ASSERT_TRUE(eventually([&] { return logShows("KEYDOWN: Return"); })) << folder_.read(kLog);
    EXPECT_TRUE(game.running());
    ASSERT_TRUE(eventually([&] { return fs::exists(folder_.path() / "shot.png"); }));
    typeChord(window, {XK_Super_L, XK_q});
    EXPECT_EQ(game.waitForExit(kTimeout), 0) << game.errorOutput();
    const std::optional<RgbImage> shot = readPng(folder_.path() / "shot.png");
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->width, 1024);
    EXPECT_EQ(shot->height, 768);
}

// Where the play scene puts the board, and the cell size, in logical pixels.
constexpr double kBoardX = 52;
constexpr double kBoardY = 150;
constexpr double kCell = 46;
// Share of the logical screen's blocks that animations and the renderers' filtering may keep apart.
constexpr double kMovingShare = 0.1;
// Letterbox margins are black; no channel's mean over one may pass this.
constexpr double kDarkMargin = 8;
// Frames the windowed run waits after its screenshot before it dumps the board: the test clicks as soon as
// the screenshot is there, within a few milliseconds, so this leaves the click ample time to arrive.
constexpr int kFramesBeforeDump = 300;

// The same level, seed and time step in the window and headless, so that both settle on the same board.
std::vector<std::string> playOptions(std::vector<std::string> more) {
    more.insert(more.begin(), {"--level", "003", "--fixed-dt", "0.0166", "--seed", "5"});
    return more;
}

void linkContent(const fs::path& folder) {
    fs::create_directory_symlink(MOONBROOK_CONTENT_DATA, folder / "data");
}

struct CellPlace {
    int x = 0;
    int y = 0;
};

// The program's window against its headless run: the same settled board must fill the window letterboxed at
// every size, the window's screenshot must be the headless one, and a real click must select the cell under
// it. The X server's screen size comes from the ctest entry.
class WindowPictureTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        linkContent(folder_.path());
        // The pointer rests in a corner, away from the balls, which answer a hovering pointer.
        XTestFakeMotionEvent(display_, DefaultScreen(display_), 0, 0, CurrentTime);
        XSync(display_, False);
        runHeadless();
    }

    void runHeadless() {
        const fs::path folder = folder_.path() / "headless";
        fs::create_directories(folder);
        linkContent(folder);
        std::ofstream(folder / "script.txt")
            << "wait-idle\nscreenshot shot.png\ndump board board.json\nquit\n";
        GameProcess game(folder, playOptions({"--headless", "--script", "script.txt"}));
        ASSERT_EQ(game.waitForExit(kSlowTimeout), 0) << game.errorOutput();
        headless_ = readPng(folder / "shot.png");
        ASSERT_TRUE(headless_);
        headlessBoard_ = nlohmann::json::parse(std::ifstream(folder / "board.json"));
    }

    // The windowed run settles, takes its screenshot, and dumps the board a while later. Without a profile
    // the game starts in full screen, switching the window it opened; 0 when it never covers the screen.
    Window startFullScreen() {
        folder_.write("script.txt", "wait-idle\nscreenshot shot.png\nwait " +
                                        std::to_string(kFramesBeforeDump) + "\ndump board board.json\n");
        game_.emplace(folder_.path(), playOptions({"--script", "script.txt"}));
        const Window window = waitForGameWindow(*game_);
        return window != 0 && hasSize(window, screenWidth(), screenHeight()) ? window : 0;
    }

    XWindowAttributes attributesOf(Window window) {
        XWindowAttributes attributes{};
        XGetWindowAttributes(display_, window, &attributes);
        return attributes;
    }

    bool hasSize(Window window, int width, int height) {
        return eventually(
            [&] {
                const XWindowAttributes attributes = attributesOf(window);
                return attributes.width == width && attributes.height == height;
            },
            kSlowTimeout);
    }

    int screenWidth() const { return XDisplayWidth(display_, DefaultScreen(display_)); }
    int screenHeight() const { return XDisplayHeight(display_, DefaultScreen(display_)); }

    // What the X server shows in that part of its screen. It is read from the root window, not the
    // program's: SDL gives an OpenGL window a DirectColor visual under Xvfb, whose pixels are not colours.
    std::optional<RgbImage> captureScreenArea(int left, int top, int width, int height) const {
        if (left < 0 || top < 0 || width <= 0 || height <= 0 || left + width > screenWidth() ||
            top + height > screenHeight())
            return std::nullopt;
        XImage* image =
            XGetImage(display_, XDefaultRootWindow(display_), left, top, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), AllPlanes, ZPixmap);
        if (!image) return std::nullopt;
        RgbImage area{width, height, {}};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                for (const unsigned long mask : {image->red_mask, image->green_mask, image->blue_mask})
                    area.rgb.push_back(static_cast<std::uint8_t>((pixel & mask) >> std::countr_zero(mask)));
            }
        }
        XDestroyImage(image);
        return area;
    }

    bool settled() {
        const fs::path shot = folder_.path() / "shot.png";
        return eventually([&] { return fs::exists(shot) || !game_->running(); }, kSlowTimeout) &&
               fs::exists(shot);
    }

    // The movable cell farthest from the screen's centre: a wrong scale or offset misses it by most.
    CellPlace farCell() const {
        CellPlace far;
        double farthest = -1;
        for (const auto& cell : headlessBoard_["cells"]) {
            if (!cell["ball"].is_string() || cell["locked"] != false || cell["crate"] != "0" ||
                cell["enabled"] != true || cell["emitter"] != false || cell["target"] != false)
                continue;
            const CellPlace place{cell["x"].get<int>(), cell["y"].get<int>()};
            const double distance =
                std::hypot(kBoardX + kCell * (place.x + 0.5) - 512, kBoardY + kCell * (place.y + 0.5) - 384);
            if (distance > farthest) {
                farthest = distance;
                far = place;
            }
        }
        return far;
    }

    // The window's client area on the screen.
    struct ScreenArea {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
    };
    ScreenArea screenAreaOf(Window window) {
        const XWindowAttributes attributes = attributesOf(window);
        ScreenArea area{0, 0, attributes.width, attributes.height};
        Window child = 0;
        XTranslateCoordinates(display_, window, XDefaultRootWindow(display_), 0, 0, &area.left, &area.top,
                              &child);
        return area;
    }

    // Moves the pointer to the cell's centre as the window shows it and clicks there, through the X server.
    void clickCell(Window window, CellPlace cell) {
        const ScreenArea shown = screenAreaOf(window);
        const LogicalArea area = LogicalArea::in(shown.width, shown.height);
        const auto x = std::lround(area.toPixelX(kBoardX + kCell * (cell.x + 0.5)));
        const auto y = std::lround(area.toPixelY(kBoardY + kCell * (cell.y + 0.5)));
        XTestFakeMotionEvent(display_, DefaultScreen(display_), shown.left + static_cast<int>(x),
                             shown.top + static_cast<int>(y), CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XSync(display_, False);
    }

    // Polls the window until it shows the headless frame over its whole size, letterboxed.
    ::testing::AssertionResult showsHeadlessFrame(Window window) {
        std::string seen = "nothing captured";
        const bool shown = eventually(
            [&] {
                const ScreenArea place = screenAreaOf(window);
                const std::optional<RgbImage> picture =
                    captureScreenArea(place.left, place.top, place.width, place.height);
                if (!picture) return false;
                const LogicalArea area = LogicalArea::in(picture->width, picture->height);
                const Comparison comparison = compareLogicalScreens(*picture, area, *headless_);
                const double margin = brightestMargin(*picture, area);
                seen = std::to_string(comparison.differing) + " of " + std::to_string(comparison.blocks) +
                       " blocks differ in a " + std::to_string(picture->width) + " x " +
                       std::to_string(picture->height) + " window; brightest margin " +
                       std::to_string(margin);
                return comparison.differing <= comparison.blocks * kMovingShare && margin <= kDarkMargin;
            },
            kSlowTimeout);
        if (shown) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << seen;
    }

    // Once the board settled, a real click on the far cell selects it, the window shows the headless frame,
    // the screenshot is the headless one, and a close request ends the game.
    void expectItPlaysAsHeadless(Window window) {
        ASSERT_TRUE(settled()) << game_->errorOutput();
        const CellPlace cell = farCell();
        clickCell(window, cell);
        ASSERT_FALSE(fs::exists(folder_.path() / "board.json")) << "the board was dumped before the click";
        nlohmann::json board;
        ASSERT_TRUE(eventually(
            [&] {
                board = nlohmann::json::parse(folder_.read("board.json"), nullptr, false);
                return !board.is_discarded() || !game_->running();
            },
            kSlowTimeout));
        EXPECT_EQ(board["selected"], nlohmann::json::array({cell.x, cell.y}));
        EXPECT_TRUE(showsHeadlessFrame(window));

        const std::optional<RgbImage> shot = readPng(folder_.path() / "shot.png");
        ASSERT_TRUE(shot);
        EXPECT_EQ(shot->width, 1024);
        EXPECT_EQ(shot->height, 768);
        const Comparison comparison = compareLogicalScreens(*shot, LogicalArea::in(1024, 768), *headless_);
        EXPECT_LE(comparison.differing, comparison.blocks * kMovingShare) << comparison.differing;
        requestClose(window);
        EXPECT_EQ(game_->waitForExit(kSlowTimeout), 0) << game_->errorOutput();
    }

    std::optional<RgbImage> headless_;
    nlohmann::json headlessBoard_;
    std::optional<GameProcess> game_;
};

TEST_F(WindowPictureTest, FullScreenShowsTheWholeLogicalScreenAndClicksLandOnTheirCell) {
    const Window window = startFullScreen();
    ASSERT_NE(window, 0u);
    expectItPlaysAsHeadless(window);
}

TEST_F(WindowPictureTest, AResizedWindowLetterboxesAgainAndClicksFollow) {
    const Window window = startFullScreen();
    ASSERT_NE(window, 0u);
    // Where the display is as large as the window the program opens, the window has the display's size before
    // the program makes it cover the display; a resize in between would be undone.
    ASSERT_TRUE(eventually([&] { return logShows("window covers the display"); }, kSlowTimeout))
        << folder_.read(kLog);
    // Narrower than the logical screen's shape, so that the margins move to the top and bottom.
    const int width = screenWidth() * 7 / 10;
    const int height = std::min(screenHeight() - 10, width * 9 / 10);
    XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display_, False);
    ASSERT_TRUE(hasSize(window, width, height));
    expectItPlaysAsHeadless(window);
}

}  // namespace
}  // namespace moonbrook::test
