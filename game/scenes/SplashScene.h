#pragma once

#include <optional>
#include <string>

#include "engine/controls/KTBaseMenuScene.h"

namespace moonbrook {

// The first screen of the program: the studio mark, then the game's title, timed by
// "data/scenes/splash.sg.xml". A click hurries the picture on; at its end the file calls startPreload, which
// shows the loading logo while the main menu's content loads, then the menu.
class SplashScene : public kt::KTBaseMenuScene {
public:
    KT_CLASS(SplashScene)

    static constexpr const char* kSceneFile = "data/scenes/splash.sg.xml";
    static constexpr const char* kLogoFile = "data/scenes/logo.sg.xml";
    static constexpr const char* kPreloadList = "data/preload.plist";

    void init();
    void onEnterStage() override;
    void buttonDown(kt::ButtonName button, kt::CGPoint point) override;
    void startPreload();

    // Where a click leads from a state: the mark to its fade-out, the title to its last moment; none elsewhere.
    static std::optional<std::string> stateAfterClick(const std::string& state);
};

}  // namespace moonbrook
