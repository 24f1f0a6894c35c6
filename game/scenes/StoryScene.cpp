#include "game/scenes/StoryScene.h"

#include "engine/core/KTState.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/scenes/PreloadScene.h"

namespace moonbrook {

namespace {

constexpr int kPages = 4;

}  // namespace

const kt::KTClass& StoryScene::staticClass() {
    static const kt::KTClass& cls =
        kt::KTClass::define<StoryScene>("StoryScene", kt::KTBaseMenuScene::staticClass())
            .operation("init", &StoryScene::init)
            .operation("toMain", &StoryScene::toMain);
    return cls;
}
KT_REGISTER_CLASS(StoryScene);

void StoryScene::init() {
    loadFromFile(kSceneFile);
}

void StoryScene::onEnterStage() {
    kt::KTBaseMenuScene::onEnterStage();
    // Without its pages (the file missing or unreadable, already logged) the story leads on to the menu at
    // once. The switch there leaves this scene while the director is still entering it: it is kept alive to
    // the end of this call.
    if (!stateNamed("s1-0")) {
        const auto self = shared_from_this();
        toMain();
        return;
    }
    setState("s1-0");
}

std::optional<std::string> StoryScene::stateAfterClick(const std::string& state) {
    for (int page = 1; page <= kPages; ++page) {
        const std::string prefix = "s" + std::to_string(page) + "-";
        if (state == prefix + "0" || state == prefix + "1") return prefix + "2";
    }
    return std::nullopt;
}

void StoryScene::buttonDown(kt::ButtonName, kt::CGPoint) {
    if (!currentState()) return;
    if (const auto next = stateAfterClick(currentState()->name)) setState(*next);
}

void StoryScene::toMain() {
    kt::KTUserManager& users = kt::KTUserManager::sharedManager();
    const auto user = users.selectedUser();
    const bool firstVisit = !user || !user->tutorialHandled(kMapTutorial);
    if (firstVisit && user) {
        user->setTutorialHandled(kMapTutorial);
        users.save();
    }
    const std::string firstState = firstVisit ? "tutorial" : "map";
    PreloadScene::loadScene({"MainMenuScene", "", std::nullopt, firstState}, PreloadScene::kMainPreloadList);
}

}  // namespace moonbrook
