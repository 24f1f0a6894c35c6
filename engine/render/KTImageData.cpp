#include "engine/render/KTImageData.h"

#include "engine/render/KTTexture.h"

namespace kt {
namespace {

CGSize sizeOf(const std::shared_ptr<KTTexture>& texture) {
    return texture ? texture->size() : CGSizeZero;
}

// A zero-sized texture would divide by zero; its coordinates are all 0.
float ratio(float value, float divisor) {
    return divisor == 0 ? 0 : value / divisor;
}

constexpr CGRect kWholeRegion{{0, 0}, {1, 1}};

}  // namespace

KTImageData::KTImageData(std::shared_ptr<KTTexture> texture, const CGRect& rect)
    : texture_(std::move(texture)), rect_(rect), textureSize_(sizeOf(texture_)) {
    const CGSize stored = texture_ ? texture_->storageSize() : CGSizeZero;
    trect_ = {{ratio(rect.origin.x, stored.width), ratio(rect.origin.y, stored.height)},
              {ratio(rect.size.width, stored.width), ratio(rect.size.height, stored.height)}};
    wholeTRect_ = tRect(kWholeRegion);
}

KTImageData::KTImageData(const KTImageData& parent, const CGRect& rect)
    : texture_(parent.texture_), textureSize_(sizeOf(texture_)) {
    const CGRect inner = parent.getRect();
    rect_ = {{rect.origin.x + inner.origin.x, rect.origin.y + inner.origin.y}, rect.size};
    wholeTRect_ = tRect(kWholeRegion);
}

CGRect KTImageData::getRect() const {
    return {{rect_.origin.x + 1 + ratio(0.5f, textureSize_.width),
             rect_.origin.y + 1 + ratio(0.5f, textureSize_.height)},
            {rect_.size.width - 2, rect_.size.height - 2}};
}

CGPoint KTImageData::tPoint(CGPoint unit) const {
    return {ratio(rect_.size.width * unit.x + rect_.origin.x, textureSize_.width),
            ratio(rect_.size.height * unit.y + rect_.origin.y, textureSize_.height)};
}

CGRect KTImageData::tRect(const CGRect& unit) const {
    const CGPoint topLeft = tPoint(unit.origin);
    const CGPoint bottomRight = tPoint({CGRectGetMaxX(unit), CGRectGetMaxY(unit)});
    return {topLeft, {bottomRight.x - topLeft.x, bottomRight.y - topLeft.y}};
}

}  // namespace kt
