#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/actions/KTAction.h"
#include "engine/actions/KTActionManager.h"
#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTNode.h"
#include "tests/support/EngineTest.h"

namespace kt::test {

// A shared list of what the recording actions saw, in order.
using ActionLog = std::shared_ptr<std::vector<std::string>>;

// An interval action that writes "name start" when started and "name t" for every update.
class RecordingInterval final : public KTActionInterval {
public:
    RecordingInterval(std::string name, float seconds, ActionLog log)
        : KTActionInterval(seconds), name_(std::move(name)), log_(std::move(log)) {}

    void startWithTarget(std::shared_ptr<KTNode> target) override {
        KTActionInterval::startWithTarget(std::move(target));
        log_->push_back(name_ + " start");
    }
    void update(float t) override { log_->push_back(KTFormat("%@ %@", name_, t)); }

private:
    std::string name_;
    ActionLog log_;
};

// An instant action that writes its name when it runs.
class RecordingInstant final : public KTActionInstant {
public:
    RecordingInstant(std::string name, ActionLog log) : name_(std::move(name)), log_(std::move(log)) {}

protected:
    void execute() override { log_->push_back(name_); }

private:
    std::string name_;
    ActionLog log_;
};

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

    ActionLog log = std::make_shared<std::vector<std::string>>();
    std::shared_ptr<KTNode> node = KTNode::node();
};

}  // namespace kt::test
