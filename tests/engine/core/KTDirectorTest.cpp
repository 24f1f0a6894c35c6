#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTMessage.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "tests/engine/core/NodeHelpers.h"
#include "tests/support/DataFileTest.h"
#include "tests/support/FakePlatform.h"

namespace kt {
namespace {

using Type = KTEvent::Type;

// An event of the type, with the key or the mouse button given.
KTEvent event(Type type, ButtonName key = noButton, int mouseButton = 0) {
    KTEvent made;
    made.type = type;
    made.key = key;
    made.mouseButton = mouseButton;
    return made;
}

KTEvent keyEvent(ButtonName key, bool alt = false, bool gui = false) {
    KTEvent made = event(Type::keyDown, key);
    made.altHeld = alt;
    made.guiHeld = gui;
    return made;
}

// A journaling scene that offers operations for handler messages.
class JournalScene : public test::Journaling<KTScene> {
public:
    KT_CLASS(JournalScene)

    void mark(const std::string& what) { note("mark " + what); }
    void chain() {
        note("chain");
        KTDirector::shared().addMessage(std::make_shared<KTMessage>("mark:chained"));
    }
};

const KTClass& JournalScene::staticClass() {
    static const KTClass& cls = KTClass::define<JournalScene>("JournalScene", KTScene::staticClass())
                                    .operation("mark:", &JournalScene::mark)
                                    .operation("chain", &JournalScene::chain);
    return cls;
}

class DirectorTest : public test::EngineTest {
protected:
    std::shared_ptr<JournalScene> journalScene(const std::string& name) {
        auto scene = std::make_shared<JournalScene>();
        scene->setName(name);
        scene->journal = &journal;
        return scene;
    }

    // A journal scene named "scene" made current, its entering left out of the journal.
    void runJournalScene() {
        director.enqueueScene(journalScene("scene"));
        director.nextScene();
        journal.clear();
    }

    test::FakePlatform& installPlatform(CGSize usable = {4000, 4000}) {
        auto platform = std::make_unique<test::FakePlatform>();
        platform->usable = usable;
        test::FakePlatform& reference = *platform;
        director.setPlatform(std::move(platform));
        return reference;
    }

    KTDirector& director = KTDirector::shared();
    std::vector<std::string> journal;
};

TEST_F(DirectorTest, ScenesSwitchAtTheStartOfTheNextUpdateOneAtATimeAndAnEmptyQueueLeavesNone) {
    director.enqueueScene(journalScene("first"));
    director.nextScene();
    director.setScene(journalScene("second"));
    director.setScene(journalScene("third"));
    EXPECT_EQ(director.currentScene()->name(), "first");

    director.doUpdate();
    EXPECT_EQ(director.currentScene()->name(), "second");
    EXPECT_EQ(director.queuedSceneCount(), 1u);
    director.doUpdate();
    EXPECT_EQ(director.currentScene()->name(), "second") << "the third waits for another switch request";

    // Past the last queued scene, input, messages and drawing find no scene.
    director.nextScene();
    director.nextScene();
    EXPECT_EQ(director.currentScene(), nullptr);
    director.handleEvent(keyEvent(kbA));
    director.addMessage(std::make_shared<KTMessage>("mark:lost"));
    director.processMessages();
    director.doDraw();
    EXPECT_EQ(journal, (std::vector<std::string>{"first enter", "first exit", "second enter", "second exit",
                                                 "third enter", "third exit"}));
}

// Unknown operations are skipped and messages naming an unknown controller fall back to the scene. The
// controller here is another journal scene.
TEST_F(DirectorTest, MessagesGoToTheirControllerOrTheSceneAndThoseQueuedWhileRunningRunInTheSamePass) {
    runJournalScene();
    KTControllerManager::shared().setController("Recorder", journalScene("controller"));
    director.addMessage(std::make_shared<KTMessage>("chain"));
    director.addMessage(std::make_shared<KTMessage>("mark:second"));
    director.addMessage(std::make_shared<KTMessage>("missingOperation"));
    director.addMessage(std::make_shared<KTMessage>("Recorder mark:direct"));
    director.addMessage(std::make_shared<KTMessage>("NoSuchController mark:fallback"));
    director.processMessages();
    EXPECT_EQ(journal, (std::vector<std::string>{"scene chain", "scene mark second", "controller mark direct",
                                                 "scene mark fallback", "scene mark chained"}));
}

struct LetterboxCase {
    CGSize window;
    CGPoint screen;
    CGPoint logical;
};

// Bars at the sides run into negative logical points (1920 x 1080 shows the logical screen 1440 wide, from
// x 240), bars above and below too; a window of the logical screen's size maps one to one.
TEST_F(DirectorTest, WindowPointsMapThroughTheCentredFitBothWays) {
    installPlatform();
    for (const LetterboxCase& c :
         {LetterboxCase{{1920, 1080}, {60, 0}, {-128, 0}}, LetterboxCase{{1024, 1024}, {0, 128}, {0, 0}},
          LetterboxCase{{1024, 1024}, {1024, 0}, {1024, -128}},
          LetterboxCase{{1024, 768}, {100, 200}, {100, 200}}}) {
        SCOPED_TRACE(testing::Message() << c.window.width << "x" << c.window.height);
        director.setWindowSize(c.window);
        EXPECT_EQ(director.renderPointFromScreenPoint(c.screen), c.logical);
        EXPECT_EQ(director.screenPointFromRenderPoint(c.logical), c.screen);
    }
}

struct WindowFitCase {
    CGSize usable;
    CGSize frame;
    CGSize shown;
};

// The window keeps its shape and shrinks to the usable desktop both ways; once it shows, its frame is known
// and taken off too.
TEST_F(DirectorTest, TheWindowShrinksToTheUsableDesktopAndAgainByItsFrameOnceItShows) {
    for (const WindowFitCase& c :
         {WindowFitCase{{1366, 700}, {0, 0}, {933, 700}}, WindowFitCase{{800, 1280}, {0, 0}, {800, 600}},
          WindowFitCase{{1366, 768}, {2, 30}, {984, 738}}}) {
        SCOPED_TRACE(testing::Message() << c.usable.width << "x" << c.usable.height);
        test::FakePlatform& platform = installPlatform(c.usable);
        platform.frame = c.frame;
        director.setWindowSize({1024, 768});
        director.createWindow();
        EXPECT_EQ(platform.windowSize, c.shown);
    }
}

// A HiDPI display, or a full-screen switch that the window system refused: the window draws into other
// pixels than the size the director asked for.
TEST_F(DirectorTest, EventsBecomeSceneCallsAtThePointerMappedThroughTheWindowsDrawableNotTheSizeAskedFor) {
    test::FakePlatform& platform = installPlatform();
    director.setWindowSize({1024, 768});
    director.createWindow();
    director.setFullscreen(true);
    platform.drawable = {1280, 720};
    runJournalScene();
    platform.pointer = {160, 360};
    director.handleEvent(event(Type::mouseMove));
    director.handleEvent(event(Type::mouseDown, noButton, 3));
    director.handleEvent(event(Type::mouseUp, noButton, 2));
    EXPECT_EQ(journal, (std::vector<std::string>{"scene mouseMove 0,384", "scene buttonDown 257 0,384",
                                                 "scene mouseMove 0,384", "scene buttonUp 258 0,384"}));
    EXPECT_EQ(director.screenPointFromRenderPoint({1024, 768}), (CGPoint{1120, 720}));
}

// A quarter of the way across a 1920 x 1080 window is 240 pixels into the logical screen's 1440.
TEST_F(DirectorTest, AFingerPressLandsWhereItTouchesThroughTheLetterbox) {
    installPlatform();
    director.setWindowSize({1920, 1080});
    runJournalScene();
    KTEvent touch = event(Type::fingerDown);
    touch.finger = {0.25f, 0.75f};
    director.handleEvent(touch);
    EXPECT_EQ(journal, (std::vector<std::string>{"scene buttonDown 256 170,576"}));
}

struct CloseKeyCase {
    KTEvent event;
    bool closes;
};

TEST_F(DirectorTest, AltF4AndGuiQCloseAfterTheSceneGotTheKey) {
    const std::vector<CloseKeyCase> cases{
        {keyEvent(kbF4, true), true}, {keyEvent(kbQ, false, true), true}, {keyEvent(kbF4), false},
        {keyEvent(kbQ, true), false}, {event(Type::quit), true},
    };
    runJournalScene();
    for (const CloseKeyCase& c : cases) {
        journal.clear();
        director.setFrameObserver(nullptr);
        test::FakePlatform& platform = installPlatform();
        platform.events.push_back(c.event);
        int frames = 0;
        director.setFrameObserver([&] {
            if (++frames == 3) director.close();
        });
        director.run();
        EXPECT_EQ(frames, c.closes ? 1 : 3) << c.event.key;
        if (c.event.type == Type::keyDown) {
            EXPECT_EQ(journal.front(), "scene keyDown " + std::to_string(c.event.key));
        }
    }
}

TEST_F(DirectorTest, TheLogIsTruncatedAtEachStartAndBeginsWithItsName) {
    KTResourceManager::shared().setAppDirName("Moonbrook");
    director.openLog();
    KTLog("first run");
    director.openLog();
    KTLog("second run %i", 2);
    KTLogger::shared().close();

    const std::filesystem::path log = userDataHome() / "Moonbrook" / "log.txt";
    EXPECT_EQ(test::readFile(log), "LOG FILENAME: " + log.string() + "\nsecond run 2\n");
}

TEST_F(DirectorTest, DeltaTimeIsTheTickDifferenceUnlessFixed) {
    test::FakePlatform& platform = installPlatform();
    float seen = -1;
    struct Probe : KTNode {
        float* seen = nullptr;
        void update(float dt) override { *seen = dt; }
    };
    auto probe = std::make_shared<Probe>();
    probe->seen = &seen;
    probe->scheduleUpdate();
    platform.now = 1500;
    director.doUpdate();
    EXPECT_FLOAT_EQ(seen, 1.5f) << "the first frame receives the whole time since start";
    platform.now = 1516;
    director.doUpdate();
    EXPECT_FLOAT_EQ(seen, 0.016f);
    director.setFixedDeltaTime(0.0166f);
    platform.now = 9000;
    director.doUpdate();
    EXPECT_FLOAT_EQ(seen, 0.0166f);
}

}  // namespace
}  // namespace kt
