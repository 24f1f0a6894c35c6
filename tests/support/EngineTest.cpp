#include "tests/support/EngineTest.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTLanguage.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScheduler.h"

namespace kt::test {
namespace {

std::filesystem::path freshTemporaryFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::ranges::replace(name, '/', '_');
    // The process number keeps test runs that share the machine out of each other's folders.
    const auto folder =
        std::filesystem::temp_directory_path() / ("moonbrook-tests-" + std::to_string(getpid())) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Content singletons forget every file, locale and hook of the previous test.
void resetContent() {
    KTResourceManager::shared().reset();
    KTLocale::setLocale("");
    KTLanguage::setDefaultLanguage(std::string(KTLanguage::kEnglish));
    KTNodeFactory::shared().setAffineAnimationLoader(nullptr);
    KTNodeFactory::shared().setFpsDataSource(nullptr);
}

}  // namespace

EngineTest::EngineTest() : dataHome_(freshTemporaryFolder()) {
    setenv("XDG_DATA_HOME", dataHome_.c_str(), 1);
    KTDirector::shared().shutdown();
    resetContent();
    KTRandom::shared().seed(1);
}

void EngineTest::TearDown() {
    KTDirector::shared().shutdown();
}

EngineTest::~EngineTest() {
    KTDirector::shared().shutdown();
    KTScheduler::shared().removeAllTargets();
    KTControllerManager::shared().removeAllControllers();
    KTLogger::shared().close();
    resetContent();
    std::error_code ignored;
    std::filesystem::remove_all(dataHome_, ignored);
}

std::shared_ptr<KTScene> EngineTest::runScene(std::shared_ptr<KTScene> scene) {
    if (!scene) scene = KTNode::node<KTScene>();
    KTDirector& director = KTDirector::shared();
    director.enqueueScene(scene);
    director.nextScene();
    return scene;
}

void EngineTest::schedulerFrame(float dt) {
    KTScheduler& scheduler = KTScheduler::shared();
    scheduler.update(dt);
    scheduler.addTargets();
    scheduler.removeTargets();
}

}  // namespace kt::test
