#include "engine/render/KTRenderStatsManager.h"

#include "engine/core/KTDataSource.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/core/KTScheduler.h"

namespace kt {

const KTClass& KTRenderStatsManager::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTRenderStatsManager>("KTRenderStatsManager", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTRenderStatsManager);

KTRenderStatsManager::KTRenderStatsManager() : fpsDataSource_(std::make_shared<KTNumberDataSource>()) {}

KTRenderStatsManager& KTRenderStatsManager::shared() {
    static const std::shared_ptr<KTRenderStatsManager> manager = std::make_shared<KTRenderStatsManager>();
    return *manager;
}

void KTRenderStatsManager::install() {
    KTRenderStatsManager& manager = shared();
    KTScheduler::shared().scheduleUpdateFor(manager.sharedAs<KTNode>());
    KTNodeFactory::shared().setFpsDataSource(manager.fpsDataSource_);
}

void KTRenderStatsManager::update(float dt) {
    t_ += dt;
    if (t_ < kMeasurePeriod) return;
    fps_ = static_cast<float>(framesCount_) / t_;
    framesCount_ = 0;
    t_ -= kMeasurePeriod;
    fpsDataSource_->setFloat(fps_);
}

}  // namespace kt
