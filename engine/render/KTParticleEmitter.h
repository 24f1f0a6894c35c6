#pragma once

#include <memory>
#include <string>

#include "engine/core/KTNode.h"

namespace kt {

class KTParticleSystem;

// Feeds a particle system with particles born at its own place in the scene, inside an optional area
// around it, with randomised life, direction, speed and accelerations. It emits `speed` particles per
// second, or with "once" a single burst of that many after which it removes itself. Emission starts once
// the emitter has been drawn, which tells it where it is (element "particle_emitter").
class KTParticleEmitter : public KTNode {
public:
    KT_CLASS(KTParticleEmitter)

    // A random draw between two ends.
    struct Range {
        float min = 0;
        float max = 0;
    };

    KTParticleEmitter();

    float speed() const { return speed_; }
    void setSpeed(float speed) { speed_ = speed; }
    float minEnergy() const { return energy_.min; }
    void setMinEnergy(float energy) { energy_.min = energy; }
    float maxEnergy() const { return energy_.max; }
    void setMaxEnergy(float energy) { energy_.max = energy; }
    bool once() const { return once_; }
    void setOnce(bool once) { once_ = once; }
    // Degrees; 0 points up, 90 to the right; the spread is the half-width of the range around it.
    void setDirection(float degrees, float spreadDegrees);
    void setInitialSpeed(Range range) { initialSpeed_ = range; }
    void setGravity(Range range) { gravity_ = range; }
    void setSpin(Range range) { spin_ = range; }
    void setRadialAcc(Range range) { radialAcc_ = range; }
    void setTangentialAcc(Range range) { tangentialAcc_ = range; }
    // Relative to the emitter's place in the scene.
    void setArea(CGPoint min, CGPoint max) {
        areaMin_ = min;
        areaMax_ = max;
    }
    // Feeds the system of that name among the ancestors' children; without one, the nearest enclosing
    // system.
    void setSystemName(std::string name) { systemName_ = std::move(name); }
    float rest() const { return rest_; }

    std::shared_ptr<KTParticleSystem> findPS();
    void emitWithCount(unsigned count);

    void setAttributes(const XMLAttributes& attributes) override;
    void onEnterStage() override;
    void onExitStage() override;
    void update(float dt) override;
    void draw() override;

private:
    // The system is held weakly: an emitter usually lives inside the system it feeds.
    std::weak_ptr<KTParticleSystem> ps_;
    bool searchedPS_ = false;
    std::string systemName_;
    float direction_ = 0;
    float spread_ = 0;
    Range initialSpeed_;
    Range energy_;
    Range gravity_;
    Range radialAcc_;
    Range tangentialAcc_;
    Range spin_;
    bool once_ = false;
    float speed_ = 0;
    float rest_ = 0;
    CGPoint sap_;
    bool wasFirstDraw_ = false;
    CGPoint areaMin_;
    CGPoint areaMax_;
};

}  // namespace kt
