#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/actions/KTAction.h"
#include "engine/core/KTFormat.h"

namespace kt::test {

// A shared list of what the recording actions saw, in order.
using ActionLog = std::shared_ptr<std::vector<std::string>>;

inline ActionLog makeActionLog() {
    return std::make_shared<std::vector<std::string>>();
}

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

}  // namespace kt::test
