#include "engine/render/KTRenderBackend.h"

#include <algorithm>

namespace kt {
namespace {

// Some devices refuse a whole batch when a texture coordinate leaves 0..1 even by a rounding error.
float clampUnit(float value) {
    return std::min(std::max(value, 0.0f), 1.0f);
}

}  // namespace

void KTRenderBackend::setOrtho(CGSize viewport, float left, float right, float bottom, float top) {
    viewport_ = viewport;
    left_ = left;
    right_ = right;
    bottom_ = bottom;
    top_ = top;
    projection_ = KTMatrix::translation(-left, -top) *
                  KTMatrix::scaling(viewport.width / (right - left), viewport.height / (bottom - top));
    setWorldMatrix(world_);
}

CGSize KTRenderBackend::logicalSize() const {
    return {right_ + left_, bottom_ + top_};
}

CGRect KTRenderBackend::logicalScreenInPixels() const {
    const CGPoint origin = projection_.transformPoint({0, 0});
    const CGSize size = logicalSize();
    const CGPoint end = projection_.transformPoint({size.width, size.height});
    return {origin, {end.x - origin.x, end.y - origin.y}};
}

bool KTRenderBackend::beginFrame() {
    texture_ = kNoTexture;
    vertexCount_ = 0;
    indexCount_ = 0;
    frameBatches_ = 0;
    drawing_ = startFrame();
    return drawing_;
}

void KTRenderBackend::endFrame() {
    flush();
    lastFrameBatches_ = frameBatches_;
    if (!drawing_) return;
    if (capture_) deliverCapture();
    present();
}

// The callback may ask for another capture.
void KTRenderBackend::deliverCapture() {
    const auto callback = std::move(capture_);
    capture_ = nullptr;
    callback(readLogicalFrame());
}

// The clamped corners are kept so that a run of quads from one texture rectangle clamps them once.
void KTRenderBackend::setTexture(TextureHandle texture, const CGRect& textureRect) {
    if (texture != texture_) flush();
    texture_ = texture;
    u0_ = clampUnit(textureRect.origin.x);
    v0_ = clampUnit(textureRect.origin.y);
    u1_ = clampUnit(CGRectGetMaxX(textureRect));
    v1_ = clampUnit(CGRectGetMaxY(textureRect));
}

void KTRenderBackend::setWorldMatrix(const KTMatrix& world) {
    world_ = world;
    transform_ = world_ * projection_;
}

void KTRenderBackend::drawRect(float left, float top, float right, float bottom, Color color) {
    appendQuad({{{left, top}, {right, top}, {right, bottom}, {left, bottom}}}, color);
}

void KTRenderBackend::drawQuad(const CGQuad& quad, Color color) {
    appendQuad(quad, color);
}

void KTRenderBackend::drawTriangle(const KTVertex& a, const KTVertex& b, const KTVertex& c) {
    reserve(3);
    for (const KTVertex* vertex : {&a, &b, &c}) {
        indices_[indexCount_++] = static_cast<int>(vertexCount_);
        appendVertex(vertex->p, clampUnit(vertex->u), clampUnit(vertex->v), vertex->color);
    }
}

void KTRenderBackend::flush() {
    if (indexCount_ >= 3 && drawing_) {
        submit(texture_, vertices_.data(), vertexCount_, indices_.data(), indexCount_);
        ++frameBatches_;
    }
    vertexCount_ = 0;
    indexCount_ = 0;
}

void KTRenderBackend::reserve(std::size_t vertexCount) {
    if (vertexCount_ + vertexCount > kMaxVertices) flush();
}

KTBackendVertex KTRenderBackend::vertex(CGPoint point, float u, float v, Color color) const {
    const std::array<float, 16>& m = transform_.m;
    return {point.x * m[0] + point.y * m[4] + m[12],
            point.x * m[1] + point.y * m[5] + m[13],
            color.red(),
            color.green(),
            color.blue(),
            color.alpha(),
            u,
            v};
}

void KTRenderBackend::appendVertex(CGPoint point, float u, float v, Color color) {
    vertices_[vertexCount_++] = vertex(point, u, v, color);
}

// The texture rectangle's corners map onto the quad's in order. Written in one piece, so that the colour
// is unpacked once and the four vertices go out as straight stores: this is the path every sprite takes.
void KTRenderBackend::appendQuad(const CGQuad& quad, Color color) {
    reserve(4);
    appendQuadIndices();
    const std::size_t first = vertexCount_;
    vertices_[first] = vertex(quad.p[0], u0_, v0_, color);
    vertices_[first + 1] = vertex(quad.p[1], u1_, v0_, color);
    vertices_[first + 2] = vertex(quad.p[2], u1_, v1_, color);
    vertices_[first + 3] = vertex(quad.p[3], u0_, v1_, color);
    vertexCount_ = first + 4;
}

// Two triangles over the four corners that follow, clockwise from the top-left: (0, 1, 2) and (0, 2, 3).
// SDL's software renderer recognises this pattern and blits an axis-aligned quad of one colour instead of
// filling two triangles, several times faster.
void KTRenderBackend::appendQuadIndices() {
    static constexpr std::array<int, 6> kCorners{0, 1, 2, 0, 2, 3};
    const int first = static_cast<int>(vertexCount_);
    for (std::size_t i = 0; i < kCorners.size(); ++i)
        indices_[indexCount_ + i] = first + kCorners[i];
    indexCount_ += kCorners.size();
}

}  // namespace kt
