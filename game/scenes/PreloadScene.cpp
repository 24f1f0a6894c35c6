#include "game/scenes/PreloadScene.h"

#include "engine/core/KTDirector.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTResourceManager.h"

namespace moonbrook {

const kt::KTClass& PreloadScene::staticClass() {
    static const kt::KTClass& cls = kt::KTClass::define<PreloadScene>("PreloadScene", kt::KTScene::staticClass());
    return cls;
}
KT_REGISTER_CLASS(PreloadScene);

void PreloadScene::loadScene(Following following, const std::string& preloadList) {
    kt::KTResourceManager::shared().clearImageCache();
    auto loading = kt::KTNode::node<PreloadScene>();
    loading->setFollowing(std::move(following));
    loading->loadFromFile(kSceneFile);
    kt::KTDirector& director = kt::KTDirector::shared();
    director.preloadWithScene(loading, preloadList);
    director.nextScene();
}

std::shared_ptr<kt::KTScene> PreloadScene::makeFollowingScene() const {
    const kt::KTClass* cls = kt::KTClass::named(following_.className);
    auto scene = cls ? std::dynamic_pointer_cast<kt::KTScene>(cls->create()) : nullptr;
    if (!scene) {
        kt::KTLog("PreloadScene: no scene class named %@", following_.className);
        return nullptr;
    }
    if (following_.initSelector.empty()) {
        scene->perform("init");
    } else if (following_.arg) {
        scene->perform(following_.initSelector, *following_.arg);
    } else {
        scene->perform(following_.initSelector);
    }
    return scene;
}

void PreloadScene::onExitStage() {
    kt::KTLog("PreloadScene onExitStage");
    kt::KTScene::onExitStage();
    if (following_.className.empty()) return;
    auto scene = makeFollowingScene();
    if (!scene) return;
    if (!following_.firstState.empty()) scene->setFirstState(following_.firstState);
    kt::KTDirector::shared().enqueueScene(std::move(scene));
}

}  // namespace moonbrook
