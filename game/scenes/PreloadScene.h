#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/core/KTScene.h"

namespace moonbrook {

// The loading screen: shown while the director preloads a list of files, and, when it leaves the stage,
// the maker of the scene that follows (any class registered by name, built with its "init" or with the
// initialising operation given, and started in the state given).
class PreloadScene : public kt::KTScene {
public:
    KT_CLASS(PreloadScene)

    static constexpr const char* kSceneFile = "data/scenes/load.sg.xml";
    static constexpr const char* kMainPreloadList = "data/preload_main.plist";
    static constexpr const char* kGamePreloadList = "data/preload_game.plist";

    // What the next screen is.
    struct Following {
        std::string className;
        // Empty: "init".
        std::string initSelector;
        std::optional<std::string> arg;
        std::string firstState;
    };

    // The loading step every screen change that loads content takes, in this order: the image cache
    // emptied, the loading scene made and loaded from its file, the list preloaded with it, and the switch
    // to it at once.
    static void loadScene(Following following, const std::string& preloadList);

    const Following& following() const { return following_; }
    void setFollowing(Following following) { following_ = std::move(following); }

    // Builds the following scene and queues it behind this one; an unregistered class is logged and
    // nothing is queued.
    void onExitStage() override;

private:
    std::shared_ptr<kt::KTScene> makeFollowingScene() const;

    Following following_;
};

}  // namespace moonbrook
