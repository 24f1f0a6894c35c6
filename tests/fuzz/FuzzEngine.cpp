#include "tests/fuzz/FuzzEngine.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTNullRenderBackend.h"
#include "engine/render/KTRenderModule.h"

namespace kt::fuzz {

FuzzEngine& FuzzEngine::shared() {
    static FuzzEngine engine;
    return engine;
}

FuzzEngine::FuzzEngine()
    : userFolder_(std::filesystem::temp_directory_path() / ("moonbrook-fuzz-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(userFolder_);
    setenv("XDG_DATA_HOME", userFolder_.c_str(), 1);
    KTResourceManager& resources = KTResourceManager::shared();
    resources.setAppDirName("Moonbrook");
    resources.setBaseDataPath(MOONBROOK_CONTENT_ROOT "/");
    KTInstallActionsModule();
    KTInstallRenderModule(std::make_shared<KTNullRenderBackend>());
}

std::string FuzzEngine::writeInput(const std::string& name, const std::uint8_t* data, std::size_t size) const {
    std::ofstream(MOONBROOK_CONTENT_ROOT "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    KTResourceManager::shared().forgetFile(name);
    return name;
}

InputScene::InputScene() : scene_(KTNode::node<KTScene>()) {
    KTDirector& director = KTDirector::shared();
    director.enqueueScene(scene_);
    director.nextScene();
}

InputScene::~InputScene() {
    // With nothing queued, the next scene is none: the running one leaves the stage and is let go.
    KTDirector::shared().nextScene();
}

void FuzzEngine::runFrames(int frames, float seconds) const {
    KTDirector& director = KTDirector::shared();
    director.setFixedDeltaTime(seconds);
    for (int frame = 0; frame < frames; ++frame)
        director.runFrame();
}

}  // namespace kt::fuzz
