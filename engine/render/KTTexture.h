#pragma once

#include <memory>

#include "engine/core/KTGeometry.h"
#include "engine/render/KTRenderBackend.h"

namespace kt {

class KTBitmap;

// A texture of exactly the bitmap's size on the back end. The back end may go first (its device frees
// every texture it made); the texture then has nothing left to release.
class KTTexture {
public:
    // A texture made from an empty bitmap, or without a back end, has no handle and draws as untextured.
    KTTexture(const KTBitmap& bitmap, const std::shared_ptr<KTRenderBackend>& backend);
    ~KTTexture();
    KTTexture(const KTTexture&) = delete;
    KTTexture& operator=(const KTTexture&) = delete;

    CGSize size() const { return size_; }
    CGSize storageSize() const { return size_; }
    KTRenderBackend::TextureHandle handle() const { return handle_; }

private:
    std::weak_ptr<KTRenderBackend> backend_;
    KTRenderBackend::TextureHandle handle_ = KTRenderBackend::kNoTexture;
    CGSize size_;
};

}  // namespace kt
