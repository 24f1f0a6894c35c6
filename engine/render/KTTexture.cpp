#include "engine/render/KTTexture.h"

#include "engine/render/KTBitmap.h"

namespace kt {

KTTexture::KTTexture(const KTBitmap& bitmap, const std::shared_ptr<KTRenderBackend>& backend)
    : backend_(backend), size_(bitmap.size()) {
    if (bitmap.empty() || !backend) return;
    handle_ = backend->createTexture(bitmap.width(), bitmap.height(), bitmap.data().data(),
                                     bitmap.width() * bitmap.bytesPerPixel(),
                                     bitmap.bitmapFormat() == BitmapFormat::rgba);
}

KTTexture::~KTTexture() {
    if (handle_ == KTRenderBackend::kNoTexture) return;
    if (const auto backend = backend_.lock()) backend->releaseTexture(handle_);
}

}  // namespace kt
