#pragma once

#include <optional>
#include <string>

#include "engine/controls/KTBaseMenuScene.h"

namespace moonbrook {

// The opening story before the very first level, told by "data/scenes/story.sg.xml" in four pages of three
// states each ("s1-0" to "s4-2"): the picture, its characters, its caption. A click shows the whole page at
// once; after the last page the file calls toMain, which leads to the main menu.
class StoryScene : public kt::KTBaseMenuScene {
public:
    KT_CLASS(StoryScene)

    static constexpr const char* kSceneFile = "data/scenes/story.sg.xml";
    // The key in the profile's "tutorials" that marks the map's first visit as done.
    static constexpr const char* kMapTutorial = "map";

    void init();
    void onEnterStage() override;
    void buttonDown(kt::ButtonName button, kt::CGPoint point) override;
    // The main menu through the loading step: in "tutorial" the first time a profile gets here (which the
    // profile then remembers), on the map afterwards.
    void toMain();

    // A page's first and second states lead to its third; no other state changes on a click.
    static std::optional<std::string> stateAfterClick(const std::string& state);
};

}  // namespace moonbrook
