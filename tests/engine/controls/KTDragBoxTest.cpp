#include <gtest/gtest.h>

#include "engine/actions/KTActionsModule.h"
#include "engine/controls/KTDragBox.h"
#include "engine/core/KTDirector.h"
#include "tests/engine/controls/ControlsSceneTest.h"

namespace kt {
namespace {

// The test scene's strip: 300 wide at (40, 520), pages centred at 150, 450 and 750 of its content, which
// moves from 0 to -600.
class DragBoxTest : public test::ControlsSceneTest {
protected:
    DragBoxTest() {
        KTInstallActionsModule();
        KTDirector::shared().setFixedDeltaTime(0.05f);
        start();
        strip = node<KTDragBox>("strip");
    }

    void drag(float fromX, float toX) {
        press({fromX, kY});
        move({(fromX + toX) / 2, kY});
        move({toX, kY});
        release({toX, kY});
    }
    void glide() {
        for (int i = 0; i < 40; ++i)
            frame();
    }

    static constexpr float kY = 585;
    std::shared_ptr<KTDragBox> strip;
};

TEST_F(DragBoxTest, AShortPressAndReleaseClicksTheContentUnderIt) {
    KTDirector::shared().setFullscreen(true);
    press({190, kY});
    release({205, kY});
    EXPECT_FALSE(KTDirector::shared().fullscreen());
    EXPECT_EQ(strip->displacement(), CGPointZero);
}

TEST_F(DragBoxTest, ADragSnapsToTheNextChildAndItsClicksReachThatChild) {
    drag(300, 100);
    EXPECT_FLOAT_EQ(strip->displacementX(), -200);
    EXPECT_FLOAT_EQ(strip->autoscrollTime(), 0.2f);
    glide();
    EXPECT_FLOAT_EQ(strip->displacementX(), -300);
    KTDirector::shared().setFullscreen(false);
    click({190, kY});
    EXPECT_TRUE(KTDirector::shared().fullscreen());
}

TEST_F(DragBoxTest, TheContentStaysWithinTheLimits) {
    drag(100, 300);
    EXPECT_FLOAT_EQ(strip->displacementX(), 0);
    EXPECT_FLOAT_EQ(strip->displacementY(), 0);
    strip->setAttributes({{"min_displacement_x", "50"}});
    drag(300, 100);
    EXPECT_FLOAT_EQ(strip->displacementX(), 0);
}

TEST_F(DragBoxTest, ScrollsGlideAtTheirSpeedAndShortOnesDoNothing) {
    strip->scrollTo({1150, 65});
    EXPECT_FLOAT_EQ(strip->autoscrollTime(), 1.2f);
    glide();
    EXPECT_FLOAT_EQ(strip->displacementX(), -600);
    strip->scrollTo({150, 65}, true);
    EXPECT_FLOAT_EQ(strip->displacementX(), 0);
    strip->scrollTo({165, 65});
    EXPECT_FLOAT_EQ(strip->autoscrollTime(), 0);
    EXPECT_FLOAT_EQ(strip->displacementX(), 0);
}

TEST_F(DragBoxTest, BoxesWithoutChildSwitchOrGlideSpeed) {
    strip->setAttributes({{"autoscroll_speed", "0"}});
    strip->scrollChild({-300, 0});
    EXPECT_FLOAT_EQ(strip->displacementX(), -300);
    strip->setAttributes({{"child_switch", "0"}});
    strip->scrollChild({-300, 0});
    EXPECT_FLOAT_EQ(strip->displacementX(), -300);
}

TEST(DragBoxAloneTest, AVerticalBoxNeverScrolls) {
    auto box = std::make_shared<KTDragBox>();
    box->setAttributes(
        {{"w", "100"}, {"h", "100"}, {"drag_vertically", "1"}, {"min_displacement_y", "-500"}});
    box->scrollTo({50, 400}, true);
    EXPECT_EQ(box->displacement(), CGPointZero);
}

}  // namespace
}  // namespace kt
