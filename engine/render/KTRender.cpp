#include "engine/render/KTRender.h"

#include "engine/core/KTDirector.h"
#include "engine/core/KTLog.h"
#include "engine/render/KTImageData.h"
#include "engine/render/KTRenderBackend.h"
#include "engine/render/KTRenderStatsManager.h"
#include "engine/render/KTTexture.h"

namespace kt {

KTOrthoBounds KTLetterboxBounds(CGSize logical, CGSize window) {
    const float aspect = logical.width / logical.height;
    float shownWidth = window.width;
    float shownHeight = window.height;
    if (window.width / window.height >= aspect) {
        shownWidth = aspect * window.height;
    } else {
        shownHeight = window.width / aspect;
    }
    const float marginX = (window.width - shownWidth) * 0.5f * (logical.width / shownWidth);
    const float marginY = 0.5f * (window.height - shownHeight) * (logical.height / shownHeight);
    return {-marginX, logical.width + marginX, logical.height + marginY, -marginY};
}

KTRender::KTRender(std::shared_ptr<KTRenderBackend> backend) : backend_(std::move(backend)) {
    KTLog("Render init");
    setOrtho();
    KTLog("render initialized");
}

void KTRender::begin() {
    currentRects_ = 0;
    backend_->beginFrame();
    currentColor_ = kColorWhite;
    currentImage_ = nullptr;
    currentMask_ = nullptr;
    currentTRect_ = {{0, 0}, {1, 1}};
    wholeImage_ = true;
    imageBound_ = false;
}

void KTRender::end() {
    lastFrameRects_ = currentRects_;
    backend_->endFrame();
    KTRenderStatsManager::shared().end();
}

void KTRender::setOrtho() {
    const KTDirector& director = KTDirector::shared();
    const CGSize viewport = director.viewportSize();
    const KTOrthoBounds bounds = KTLetterboxBounds(director.size(), viewport);
    backend_->setOrtho(viewport, bounds.left, bounds.right, bounds.bottom, bounds.top);
}

void KTRender::multColor(Color color) {
    currentColor_ = KTMultColors(currentColor_, color);
}

void KTRender::popColor() {
    if (colorStack_.empty()) return;
    currentColor_ = colorStack_.back();
    colorStack_.pop_back();
}

void KTRender::setImageData(const KTImageData* image) {
    setImageData(image, {{0, 0}, {1, 1}});
    wholeImage_ = true;
}

void KTRender::setImageData(const KTImageData* image, const CGRect& textureRect) {
    currentImage_ = image;
    currentTRect_ = textureRect;
    wholeImage_ = false;
    imageBound_ = false;
}

void KTRender::identity() {
    setWorld(KTMatrix::identity());
}

void KTRender::translate(CGPoint offset) {
    setWorld(KTMatrix::translation(offset.x, offset.y) * world_);
}

void KTRender::scale(CGPoint factors) {
    setWorld(KTMatrix::scaling(factors.x, factors.y) * world_);
}

void KTRender::rotate(float degrees) {
    setWorld(KTMatrix::rotation(degrees) * world_);
}

void KTRender::pop() {
    if (transformStack_.empty()) return;
    setWorld(transformStack_.back());
    transformStack_.pop_back();
}

// Texels are addressed at their centres here, as pixels are, so textured rectangles need no half-pixel
// shift: one would blur every image drawn at its own size.
void KTRender::drawRect(const CGRect& rect) {
    if (simulate_) return;
    ++currentRects_;
    if (currentMask_) return;
    bindCurrentImage();
    backend_->drawRect(rect.origin.x, rect.origin.y, CGRectGetMaxX(rect), CGRectGetMaxY(rect), currentColor_);
}

void KTRender::drawQuad(const CGQuad& quad) {
    if (simulate_) return;
    ++currentRects_;
    if (currentMask_) return;
    bindCurrentImage();
    backend_->drawQuad(quad, currentColor_);
}

void KTRender::drawTri(const KTVertex& a, const KTVertex& b, const KTVertex& c) {
    if (simulate_) return;
    bindCurrentImage();
    backend_->drawTriangle(a, b, c);
}

void KTRender::setWorld(const KTMatrix& world) {
    world_ = world;
    backend_->setWorldMatrix(world_);
}

// Runs of primitives from one image (particles, a tiled background) convert its texture rectangle once.
void KTRender::bindCurrentImage() {
    if (imageBound_) return;
    imageBound_ = true;
    const KTTexture* texture = currentImage_ ? currentImage_->texture().get() : nullptr;
    if (!texture || texture->handle() == KTRenderBackend::kNoTexture) {
        backend_->setTexture(KTRenderBackend::kNoTexture, {{0, 0}, {1, 1}});
        return;
    }
    backend_->setTexture(texture->handle(),
                         wholeImage_ ? currentImage_->wholeTRect() : currentImage_->tRect(currentTRect_));
}

}  // namespace kt
