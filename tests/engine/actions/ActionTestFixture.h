#pragma once

#include <memory>

#include "engine/actions/KTActionManager.h"
#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTNode.h"
#include "tests/engine/actions/RecordingActions.h"
#include "tests/support/EngineTest.h"

namespace kt::test {

// A fresh action manager and state animator in the director, a node to run actions on and a log for the
// recording actions.
class ActionTest : public EngineTest {
protected:
    ActionTest() { KTInstallActionsModule(); }

    KTActionManager& manager() { return KTActionManager::shared(); }
    void frame(float dt) { manager().update(dt); }
    void frames(int count, float dt) {
        for (int i = 0; i < count; ++i)
            frame(dt);
    }

    std::shared_ptr<RecordingInterval> interval(std::string name, float seconds) {
        return std::make_shared<RecordingInterval>(std::move(name), seconds, log);
    }
    std::shared_ptr<RecordingInstant> instant(std::string name) {
        return std::make_shared<RecordingInstant>(std::move(name), log);
    }
    // The log's entries so far, emptying it.
    std::vector<std::string> takeLog() { return std::exchange(*log, {}); }

    ActionLog log = makeActionLog();
    std::shared_ptr<KTNode> node = KTNode::node();
};

}  // namespace kt::test
