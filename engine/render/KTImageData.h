#pragma once

#include <memory>

#include "engine/core/KTGeometry.h"

namespace kt {

class KTTexture;

// A rectangle of a texture, in texture pixels, with the conversions from unit coordinates across the
// region (0..1) into texture coordinates. Regions share their texture.
class KTImageData {
public:
    KTImageData(std::shared_ptr<KTTexture> texture, const CGRect& rect);
    // A region of the parent's texture, with the rectangle relative to the parent's inner rectangle.
    KTImageData(const KTImageData& parent, const CGRect& rect);

    const std::shared_ptr<KTTexture>& texture() const { return texture_; }
    const CGRect& rect() const { return rect_; }
    CGSize size() const { return rect_.size; }
    unsigned width() const { return static_cast<unsigned>(rect_.size.width); }
    unsigned height() const { return static_cast<unsigned>(rect_.size.height); }
    // The region in texture coordinates; zero for regions made from a parent region.
    const CGRect& tRect() const { return trect_; }
    // The region inset by one pixel, a half texel further in at the top-left, so that filtering stays inside.
    CGRect getRect() const;
    CGSize textureSize() const { return textureSize_; }

    CGPoint tPoint(CGPoint unit) const;
    CGRect tRect(const CGRect& unit) const;
    // tRect of the whole region, worked out once: drawing a whole image is the common case.
    const CGRect& wholeTRect() const { return wholeTRect_; }

private:
    std::shared_ptr<KTTexture> texture_;
    CGRect rect_;
    CGRect trect_;
    CGSize textureSize_;
    CGRect wholeTRect_;
};

}  // namespace kt
