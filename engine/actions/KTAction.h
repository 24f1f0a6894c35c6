#pragma once

#include <memory>

namespace kt {

class KTNode;

// Something that changes a node once or over time. An action is started once with its target, then stepped
// every frame by the action manager (or driven by a composite action through update) until it is done.
class KTAction {
public:
    KTAction() = default;
    KTAction(const KTAction&) = delete;
    KTAction& operator=(const KTAction&) = delete;
    virtual ~KTAction() = default;

    // Keeps the target alive while the action runs; a null target makes the action do nothing.
    virtual void startWithTarget(std::shared_ptr<KTNode> target) { target_ = std::move(target); }
    virtual void stop() { target_.reset(); }
    virtual bool isDone() const { return true; }
    // One frame of dt seconds.
    virtual void step(float dt) = 0;
    // Shows the action at normalised time t, 0 at its start and 1 at its end.
    virtual void update(float t) = 0;

    KTNode* target() const { return target_.get(); }
    const std::shared_ptr<KTNode>& targetRef() const { return target_; }

private:
    std::shared_ptr<KTNode> target_;
};

// An action with a length in seconds.
class KTFiniteTimeAction : public KTAction {
public:
    float duration() const { return duration_; }
    void setDuration(float seconds) { duration_ = seconds; }

protected:
    explicit KTFiniteTimeAction(float seconds) : duration_(seconds) {}

private:
    float duration_;
};

// An action that runs over its duration. Its first step after a start shows t = 0 and ignores the frame's
// time, so it ends one frame after its duration has passed.
class KTActionInterval : public KTFiniteTimeAction {
public:
    void startWithTarget(std::shared_ptr<KTNode> target) override;
    bool isDone() const override { return elapsed_ >= duration(); }
    void step(float dt) override;

    float elapsed() const { return elapsed_; }

protected:
    explicit KTActionInterval(float seconds) : KTFiniteTimeAction(seconds) {}

private:
    // Normalised time of the elapsed seconds, at most 1. An action without length is at its end at once.
    float progress() const;

    float elapsed_ = 0;
    bool firstTick_ = true;
};

// An action that does all its work when it is started; stepping it does nothing more.
class KTActionInstant : public KTFiniteTimeAction {
public:
    void startWithTarget(std::shared_ptr<KTNode> target) final;
    void step(float) final {}
    void update(float) final {}

protected:
    KTActionInstant() : KTFiniteTimeAction(0) {}

    // The action's work on the target it has just been started with.
    virtual void execute() = 0;
};

}  // namespace kt
