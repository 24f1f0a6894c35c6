#include "game/scenes/SplashScene.h"

#include "engine/core/KTDirector.h"
#include "engine/core/KTState.h"
#include "game/scenes/MainMenuScene.h"

namespace moonbrook {

const kt::KTClass& SplashScene::staticClass() {
    static const kt::KTClass& cls =
        kt::KTClass::define<SplashScene>("SplashScene", kt::KTBaseMenuScene::staticClass())
            .operation("init", &SplashScene::init)
            .operation("startPreload", &SplashScene::startPreload);
    return cls;
}
KT_REGISTER_CLASS(SplashScene);

void SplashScene::init() {
    loadFromFile(kSceneFile);
}

void SplashScene::onEnterStage() {
    kt::KTBaseMenuScene::onEnterStage();
    // Without its pictures (the file missing or unreadable, already logged) the splash goes straight on.
    if (!stateNamed("v1")) {
        startPreload();
        return;
    }
    setState("v1");
}

std::optional<std::string> SplashScene::stateAfterClick(const std::string& state) {
    if (state == "v1" || state == "v2") return "v3";
    if (state == "v4" || state == "v5") return "default";
    return std::nullopt;
}

void SplashScene::buttonDown(kt::ButtonName, kt::CGPoint) {
    if (!currentState()) return;
    if (const auto next = stateAfterClick(currentState()->name)) setState(*next);
}

void SplashScene::startPreload() {
    auto logo = kt::KTNode::node<kt::KTScene>();
    logo->loadFromFile(kLogoFile);
    kt::KTDirector& director = kt::KTDirector::shared();
    director.preloadWithScene(logo, kPreloadList);
    auto menu = kt::KTNode::node<MainMenuScene>();
    menu->init();
    director.setScene(menu);
}

}  // namespace moonbrook
