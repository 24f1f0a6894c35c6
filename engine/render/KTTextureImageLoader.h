#pragma once

#include <memory>

#include "engine/core/KTResourceLoaders.h"

namespace kt {

class KTRenderBackend;

// Decodes image files into textures of the back end, and makes atlas frames as regions of those textures.
class KTTextureImageLoader : public KTImageLoader {
public:
    explicit KTTextureImageLoader(std::weak_ptr<KTRenderBackend> backend) : backend_(std::move(backend)) {}

    std::shared_ptr<KTImageData> loadImage(const std::string& path) override;
    std::shared_ptr<KTImageData> imageOnTexture(const KTImageData& image, const CGRect& rect) override;
    CGSize textureSize(const KTImageData& image) const override;

private:
    std::weak_ptr<KTRenderBackend> backend_;
};

}  // namespace kt
