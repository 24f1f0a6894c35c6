#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "engine/core/KTScene.h"

namespace kt::test {

// Fixture for tests that touch the engine's singletons: the per-user folder points into a fresh temporary
// folder, and the director, scheduler, controllers, content managers and random generator start afresh for
// every test.
// Subclasses that override TearDown call this one.
class EngineTest : public ::testing::Test {
protected:
    EngineTest();
    ~EngineTest() override;
    // Ends the running scene while the test's own members still exist.
    void TearDown() override;

    const std::filesystem::path& userDataHome() const { return dataHome_; }

    // A scene made current through the director, as the running program would.
    std::shared_ptr<KTScene> runScene(std::shared_ptr<KTScene> scene = nullptr);

    // The scheduler's part of one frame as the director runs it: updates, then the nodes scheduled or
    // unscheduled meanwhile join or leave.
    static void schedulerFrame(float dt);

private:
    std::filesystem::path dataHome_;
};

}  // namespace kt::test
