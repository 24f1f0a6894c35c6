#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/KTColor.h"
#include "engine/core/KTGeometry.h"

namespace kt {

class KTRenderer;
class XMLAttributes;
class XMLElement;

// One key of an affine animation: at time t the drawing is moved, scaled about the pivot, rotated about the
// pivot (degrees) and tinted.
struct KTAffineAnimationKey {
    float t = 0;
    CGPoint move;
    CGPoint scale{1, 1};
    float angle = 0;
    Color color = kColorWhite;

    // Reads "t", "angle", "move_x", "move_y", "scale" (both factors), then "scale_x" and "scale_y", and
    // "color"; numbers that are not finite read as 0.
    static KTAffineAnimationKey fromAttributes(const XMLAttributes& attributes);
};

// Key-framed transform and colour animation, interpolated linearly between keys and applied to the renderer.
// It is data that drawing code plays at a time of its own; beyond the last key it holds the last key, or
// starts over when it loops.
class KTAffineAnimation {
public:
    KTAffineAnimation() = default;
    // Keys in rising time.
    KTAffineAnimation(std::vector<KTAffineAnimationKey> keys, bool loop);

    // Through the resource manager's cache of parsed files; none when the file cannot be read.
    static std::shared_ptr<KTAffineAnimation> affineAnimationFromFile(const std::string& path);
    // An element whose "key" children are the keys, with an optional "loop" attribute.
    static std::shared_ptr<KTAffineAnimation> affineAnimationFromXMLElement(const XMLElement& element);
    void loadFromXMLElement(const XMLElement& element);

    // Transforms and tints what is drawn next as the animation shows it at that time; nothing with fewer than
    // two keys. The pivot is the centre of rotation and scale, in the space of what is drawn.
    void apply(KTRenderer& render, float time) const { apply(render, time, pivot_); }
    void apply(KTRenderer& render, float time, CGPoint pivot) const;

    const std::vector<KTAffineAnimationKey>& keys() const { return keys_; }
    bool loop() const { return loop_; }
    // The time of the last key.
    float length() const { return length_; }
    CGPoint pivot() const { return pivot_; }
    void setPivot(CGPoint pivot) { pivot_ = pivot; }

private:
    struct Frame {
        CGPoint move;
        CGPoint scale;
        float angle;
        Color color;
    };

    void addKey(const KTAffineAnimationKey& key);
    float effectiveTime(float time) const;
    std::optional<Frame> frameAt(float time) const;

    std::vector<KTAffineAnimationKey> keys_;
    bool loop_ = false;
    float length_ = 0;
    CGPoint pivot_;
};

}  // namespace kt
