#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/core/KTColor.h"
#include "engine/core/KTGeometry.h"
#include "engine/core/KTRenderer.h"
#include "engine/render/KTMatrix.h"

namespace kt {

// A vertex as the back end hands it to the device: window pixels, colour bytes and texture coordinates.
// The layout matches SDL's vertex, so batches go out without a copy.
struct KTBackendVertex {
    float x;
    float y;
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
    std::uint8_t a;
    float u;
    float v;
};

// A frame as rows of R, G, B, A bytes, top row first; empty when the device could not read it.
struct KTFrameImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

// The device side of the renderer. It transforms vertices by the world matrix and the projection on the
// CPU and queues them in one buffer; a batch goes to the device only when the texture changes, the buffer
// is full or the frame ends, so the world matrix and the colour may change freely inside a batch.
// Subclasses own the device: they create textures and draw and present what the base hands them.
class KTRenderBackend {
public:
    using TextureHandle = unsigned;
    static constexpr TextureHandle kNoTexture = 0;
    static constexpr std::size_t kMaxVertices = 4096;
    static constexpr std::size_t kMaxIndices = kMaxVertices / 4 * 6;

    virtual ~KTRenderBackend() = default;

    // The window's size in pixels and the logical bounds shown across it.
    void setOrtho(CGSize viewport, float left, float right, float bottom, float top);
    // False when the device cannot draw this frame; its draw calls then have no effect.
    bool beginFrame();
    void endFrame();

    // Pixels are rows of 4 bytes R, G, B, A with alpha, else 3 bytes R, G, B; none on failure.
    virtual TextureHandle createTexture(int width, int height, const std::uint8_t* pixels, int pitch,
                                        bool alpha) = 0;
    virtual void releaseTexture(TextureHandle texture) = 0;

    // The texture rectangle, in texture coordinates, is what rectangles and quads map onto.
    void setTexture(TextureHandle texture, const CGRect& textureRect);
    void setWorldMatrix(const KTMatrix& world);
    void drawRect(float left, float top, float right, float bottom, Color color);
    // Corners top-left, top-right, bottom-right, bottom-left.
    void drawQuad(const CGQuad& quad, Color color);
    // The vertices carry their own texture coordinates.
    void drawTriangle(const KTVertex& a, const KTVertex& b, const KTVertex& c);
    void flush();

    // Draw calls of the last finished frame.
    unsigned lastFrameBatches() const { return lastFrameBatches_; }

    // Hands the next drawn frame's logical screen, at its logical size, to the callback before it is shown.
    void captureNextFrame(std::function<void(const KTFrameImage&)> callback) {
        capture_ = std::move(callback);
    }

protected:
    // Reads the logical screen of the frame being drawn; devices that cannot read answer an empty image.
    virtual KTFrameImage readLogicalFrame() { return {}; }
    // The logical screen: its size, and where it lies in the window, in pixels. The margins around it are
    // the same on both sides.
    CGSize logicalSize() const;
    CGRect logicalScreenInPixels() const;
    virtual bool startFrame() = 0;
    virtual void present() = 0;
    virtual void submit(TextureHandle texture, const KTBackendVertex* vertices, std::size_t vertexCount,
                        const int* indices, std::size_t indexCount) = 0;

private:
    void reserve(std::size_t vertexCount);
    KTBackendVertex vertex(CGPoint point, float u, float v, Color color) const;
    void appendVertex(CGPoint point, float u, float v, Color color);
    void appendQuad(const CGQuad& quad, Color color);
    void appendQuadIndices();
    void deliverCapture();

    CGSize viewport_;
    float left_ = 0;
    float right_ = 0;
    float bottom_ = 0;
    float top_ = 0;
    KTMatrix world_;
    KTMatrix projection_;
    KTMatrix transform_;
    TextureHandle texture_ = kNoTexture;
    // The texture rectangle's corners, clamped to 0..1.
    float u0_ = 0;
    float v0_ = 0;
    float u1_ = 1;
    float v1_ = 1;
    bool drawing_ = true;
    std::array<KTBackendVertex, kMaxVertices> vertices_{};
    std::array<int, kMaxIndices> indices_{};
    std::size_t vertexCount_ = 0;
    std::size_t indexCount_ = 0;
    unsigned frameBatches_ = 0;
    unsigned lastFrameBatches_ = 0;
    std::function<void(const KTFrameImage&)> capture_;
};

}  // namespace kt
