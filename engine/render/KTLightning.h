#pragma once

#include <memory>

#include "engine/core/KTNode.h"

namespace kt {

class KTImageData;

// One piece of a bolt: a leaf is drawn as a quad along it, a split segment through its two halves.
class LightningSegment {
public:
    LightningSegment(CGPoint p0, CGPoint p1, float width) : p0_(p0), p1_(p1), width_(width) {}

    CGPoint p0() const { return p0_; }
    void setP0(CGPoint p) { p0_ = p; }
    CGPoint p1() const { return p1_; }
    void setP1(CGPoint p) { p1_ = p; }
    // Half the thickness of the drawn quad.
    float width() const { return width_; }
    void setWidth(float width) { width_ = width; }
    const std::unique_ptr<LightningSegment>& left() const { return left_; }
    const std::unique_ptr<LightningSegment>& right() const { return right_; }
    bool isLeaf() const { return !left_; }

    // A leaf bends at its midpoint by up to `amplitude` sideways; a split segment passes the call on to
    // its halves with the amplitude reduced by `degrade`.
    void split(float amplitude, float degrade);
    // A zero-length leaf has no direction and draws nothing.
    void draw(KTRenderer& renderer) const;
    void clear();

private:
    CGPoint p0_;
    CGPoint p1_;
    float width_;
    std::unique_ptr<LightningSegment> left_;
    std::unique_ptr<LightningSegment> right_;
};

// A flickering bolt from the node to a second point, rebuilt by midpoint displacement every rebuild period
// (element "lightning"). With absolute positions it starts at the node's place in the scene and the end
// point is in scene coordinates; otherwise both are in the parent's space.
class KTLightning : public KTNode {
public:
    KT_CLASS(KTLightning)

    CGPoint position2() const { return position2_; }
    void setPosition2(CGPoint point) { position2_ = point; }
    float rebuildPeriod() const { return rebuildPeriod_; }
    void setRebuildPeriod(float seconds) { rebuildPeriod_ = seconds; }
    int iterations() const { return iterations_; }
    void setIterations(int iterations) { iterations_ = iterations; }
    float amp() const { return amp_; }
    void setAmp(float amp) { amp_ = amp; }
    float deg() const { return deg_; }
    void setDeg(float deg) { deg_ = deg; }
    float width() const { return width_; }
    void setWidth(float width) { width_ = width; }
    bool absolutePositions() const { return absolutePositions_; }
    void setAbsolutePositions(bool absolute) { absolutePositions_ = absolute; }
    const std::shared_ptr<KTImageData>& imageData() const { return imageData_; }
    void setImageData(std::shared_ptr<KTImageData> image) { imageData_ = std::move(image); }
    const LightningSegment* root() const { return root_.get(); }

    void rebuild();

    // "filename", "x2" with "y2", "rebuild_period", "amp", "deg", "width", "iterations", "absolute".
    void setAttributes(const XMLAttributes& attributes) override;
    void onEnterStage() override;
    void update(float dt) override;
    void draw() override;

private:
    CGPoint position2_;
    std::shared_ptr<KTImageData> imageData_;
    std::unique_ptr<LightningSegment> root_;
    float t_ = 0;
    float rebuildPeriod_ = 0.05f;
    int iterations_ = 6;
    float amp_ = 40;
    float deg_ = 0.7f;
    float width_ = 5;
    bool absolutePositions_ = true;
};

}  // namespace kt
