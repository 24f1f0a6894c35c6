#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "engine/core/KTNode.h"

namespace kt {

class KTImageData;

// One particle, in scene coordinates.
struct KTParticle {
    float maxEnergy = 0;
    float energy = 0;
    float angle = 0;
    CGPoint position;
    CGPoint speed;
    // Constant acceleration; emitters give it only a vertical part, their gravity.
    CGPoint acc;
    // Away from the system's position and perpendicular to that; a particle needs both to feel either.
    float radialAcc = 0;
    float tangentialAcc = 0;
    float spin = 0;
};

// Moves and draws the particles its emitters hand it: each is a square of the node's size, scaled from the
// start size to the end size over its life and tinted from the start to the end colour, optionally through
// a middle value at half life, and optionally pulled to an attractor that swallows it. The system removes
// itself once it has neither particles nor children (element "particle_system").
class KTParticleSystem : public KTNode {
public:
    KT_CLASS(KTParticleSystem)

    // A bound on the live particles, far above what an effect shows, so that a damaged file's huge rate or
    // endless life cannot exhaust memory or stall the frame; emitted particles beyond it are dropped.
    static constexpr std::size_t kMostParticles = 10000;

    KTParticleSystem();

    const std::shared_ptr<KTImageData>& imageData() const { return imageData_; }
    // A system without a width takes the image's size.
    void setImageData(std::shared_ptr<KTImageData> image);
    // Ignored while the system is off stage or full.
    void emit(const KTParticle& particle);
    const std::vector<KTParticle>& particles() const { return particles_; }

    void setSizes(float start, float end) {
        startSize_ = start;
        endSize_ = end;
    }
    void setMidSize(float mid) {
        midSize_ = mid;
        withMidSize_ = true;
    }
    void setColors(Color start, Color end) {
        startColor_ = start;
        endColor_ = end;
    }
    void setMidColor(Color mid) {
        midColor_ = mid;
        withMidColor_ = true;
    }
    // The attractor's position is in scene coordinates.
    void setAttractor(CGPoint position, float strength);

    // "start_size", "end_size", "mid_size", "start_color", "end_color", "mid_color", "filename" and, all
    // three together, "attractor_x", "attractor_y" and "attractor_strength".
    void setAttributes(const XMLAttributes& attributes) override;
    void onEnterStage() override;
    void onExitStage() override;
    void update(float dt) override;
    void draw() override;

private:
    // Moves one particle; false when its life is over.
    bool move(KTParticle& particle, float dt) const;
    float sizeFactor(float life) const;
    Color tint(float life) const;
    void drawParticle(KTRenderer& renderer, const KTParticle& particle) const;

    std::vector<KTParticle> particles_;
    std::shared_ptr<KTImageData> imageData_;
    float startSize_ = 1;
    float endSize_ = 0;
    float midSize_ = 0;
    bool withMidSize_ = false;
    Color startColor_ = kColorWhite;
    Color midColor_{0x00FFFFFF};
    Color endColor_{0x00FFFFFF};
    bool withMidColor_ = false;
    bool withAttractor_ = false;
    CGPoint attractorPosition_;
    float attractorStrength_ = 0;
};

}  // namespace kt
