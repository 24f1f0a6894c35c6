#include <gtest/gtest.h>

#include "engine/core/KTDirector.h"
#include "engine/platform/KTSDLPlatform.h"
#include "tests/support/DataFileTest.h"

namespace kt {
namespace {

class KTSDLPlatformTest : public test::DataFileTest {
protected:
    KTSDLPlatformTest() {
        std::string error;
        auto platform = KTSDLPlatform::create(true, error);
        EXPECT_TRUE(platform) << error;
        platform_ = platform.get();
        director_.setPlatform(std::move(platform));
    }

    KTDirector& director_ = KTDirector::shared();
    KTSDLPlatform* platform_ = nullptr;
};

TEST_F(KTSDLPlatformTest, FullScreenTakesTheDesktopModeAndLeavingItRestoresTheWindowedSize) {
    ASSERT_TRUE(platform_);
    director_.setWindowSize({800, 600});
    director_.createWindow();
    SDL_Window* window = platform_->window();
    ASSERT_TRUE(window);
    director_.setFullscreen(true);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(CGSize(static_cast<float>(width), static_cast<float>(height)), platform_->desktopSize());
    director_.setFullscreen(false);
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(std::pair(width, height), std::pair(800, 600));
}

TEST_F(KTSDLPlatformTest, TextInputIsOffUntilAskedForAndAMissingIconIsLoggedOnceWithItsPath) {
    ASSERT_TRUE(platform_ && platform_->createWindow({64, 48}));
    EXPECT_FALSE(SDL_IsTextInputActive());
    director_.startTextInput();
    EXPECT_TRUE(SDL_IsTextInputActive());
    director_.stopTextInput();
    EXPECT_FALSE(SDL_IsTextInputActive());

    platform_->setWindowIcon("no/such/icon.png");
    platform_->setWindowIcon("no/such/icon.png");
    EXPECT_EQ(countInLog("no/such/icon.png"), 1);
}

}  // namespace
}  // namespace kt
