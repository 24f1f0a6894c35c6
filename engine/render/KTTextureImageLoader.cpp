#include "engine/render/KTTextureImageLoader.h"

#include "engine/render/KTBitmap.h"
#include "engine/render/KTImageData.h"
#include "engine/render/KTTexture.h"

namespace kt {

std::shared_ptr<KTImageData> KTTextureImageLoader::loadImage(const std::string& path) {
    const KTBitmap bitmap = KTBitmap::fromFile(path);
    if (bitmap.empty()) return nullptr;
    auto texture = std::make_shared<KTTexture>(bitmap, backend_.lock());
    return std::make_shared<KTImageData>(std::move(texture), CGRect{CGPointZero, bitmap.size()});
}

std::shared_ptr<KTImageData> KTTextureImageLoader::imageOnTexture(const KTImageData& image,
                                                                  const CGRect& rect) {
    return std::make_shared<KTImageData>(image.texture(), rect);
}

CGSize KTTextureImageLoader::textureSize(const KTImageData& image) const {
    return image.textureSize();
}

}  // namespace kt
