#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/render/KTAnimation.h"

namespace kt {

// Which boid sees which, remembered until the flock clears it: unknown, no or yes per ordered pair.
class KTBoidSight {
public:
    explicit KTBoidSight(std::size_t count) : count_(count), answers_(count * count, kUnknown) {}

    static constexpr std::int8_t kUnknown = -1;

    std::int8_t answer(std::size_t from, std::size_t to) const { return answers_[from * count_ + to]; }
    void remember(std::size_t from, std::size_t to, bool sees) {
        answers_[from * count_ + to] = sees ? 1 : 0;
    }
    void clear() { std::fill(answers_.begin(), answers_.end(), kUnknown); }

private:
    std::size_t count_;
    std::vector<std::int8_t> answers_;
};

// One creature of a flock: an animation drawn turned towards where it flies (the art faces -x).
class Boid : public KTAnimation {
public:
    KT_CLASS(Boid)

    CGPoint pos;
    // Units per second.
    CGPoint v;
    // Its place in the flock and in the sight table.
    std::size_t ID = 0;

    void setSight(std::shared_ptr<KTBoidSight> sight) { sight_ = std::move(sight); }
    // Another boid is seen when it is within 10 units, or within the distance and ahead of this one's
    // heading; a boid standing still looks all around.
    bool see(const Boid& other, float distance) const;
    void drawAfterChildren() override;

private:
    std::shared_ptr<KTBoidSight> sight_;
};

// A decorative flock (element "boids") built when the node enters the stage: each boid steers towards the
// others it sees, keeps its distance and matches their velocity, is pushed back into the node's rectangle
// and flees the pointer, between a minimum and a maximum speed.
class KTBoids : public KTNode {
public:
    KT_CLASS(KTBoids)

    // A bound on the flock, whose sight table grows with the square of its size.
    static constexpr unsigned kLargestFlock = 1000;

    const std::vector<std::shared_ptr<Boid>>& boids() const { return boids_; }
    unsigned boidsCount() const { return boidsCount_; }
    void setBoidsCount(unsigned count) { boidsCount_ = std::min(count, kLargestFlock); }
    void setSpeedLimits(float minimum, float maximum) {
        minSpeed_ = minimum;
        maxSpeed_ = maximum;
    }
    void setVisDistance(float distance) { visDistance_ = distance; }
    void setMinDistance(float distance) { minDistance_ = distance; }

    CGPoint ruleCohesion(const Boid& boid) const;
    CGPoint ruleSeparation(const Boid& boid) const;
    CGPoint ruleAlignment(const Boid& boid) const;
    CGPoint ruleBounding(const Boid& boid) const;
    CGPoint ruleFromMouse(const Boid& boid);

    // "filename", "count", "min_distance", "min_speed", "max_speed", "vis_distance", "cohesion_k",
    // "separation_k", "alignment_k", "from_mouse_k".
    void setAttributes(const XMLAttributes& attributes) override;
    void onEnterStage() override;
    void onExitStage() override;
    void update(float dt) override;

private:
    // Calls the function with every other boid that the boid sees, in flock order.
    template <typename Visit>
    void forEachSeen(const Boid& boid, Visit visit) const;
    void steer(Boid& boid, float dt);

    std::string spriteFileName_;
    unsigned boidsCount_ = 13;
    float minDistance_ = 17;
    float minSpeed_ = 80;
    float maxSpeed_ = 200;
    float visDistance_ = 50;
    float cohesionK_ = 1;
    float separationK_ = 2;
    float alignmentK_ = 0.5f;
    float fromMouseK_ = 1;
    std::vector<std::shared_ptr<Boid>> boids_;
    std::shared_ptr<KTBoidSight> sight_;
    float updateT_ = 0;
};

}  // namespace kt
