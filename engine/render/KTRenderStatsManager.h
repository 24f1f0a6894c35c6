#pragma once

#include <memory>

#include "engine/core/KTNode.h"

namespace kt {

class KTNumberDataSource;

// Counts drawn frames and publishes the frame rate every measuring period through a number provider that
// scene files bind to with dataSource="fpsDataSource".
class KTRenderStatsManager : public KTNode {
public:
    KT_CLASS(KTRenderStatsManager)

    static constexpr float kMeasurePeriod = 2.0f;

    KTRenderStatsManager();

    static KTRenderStatsManager& shared();
    // Schedules the shared manager's updates and offers its provider to scene files.
    static void install();

    // One drawn frame.
    void end() { ++framesCount_; }
    void update(float dt) override;
    float fps() const { return fps_; }
    const std::shared_ptr<KTNumberDataSource>& fpsDataSource() const { return fpsDataSource_; }

private:
    unsigned framesCount_ = 0;
    float t_ = 0;
    float fps_ = 0;
    std::shared_ptr<KTNumberDataSource> fpsDataSource_;
};

}  // namespace kt
