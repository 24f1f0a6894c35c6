#pragma once

#include <memory>
#include <vector>

#include "engine/core/KTRenderer.h"
#include "engine/render/KTMatrix.h"

namespace kt {

class KTRenderBackend;

// Logical bounds shown across the window: the play area is centred and scaled uniformly, and the margins
// show what lies outside 0..width, 0..height.
struct KTOrthoBounds {
    float left;
    float right;
    float bottom;
    float top;
};
KTOrthoBounds KTLetterboxBounds(CGSize logical, CGSize window);

// The engine's drawing interface on a back end: colour and transform stacks, the current image region and
// the texture rectangle inside it. Textured rectangles and quads take the region's texture coordinates;
// untextured ones are filled with the current colour.
class KTRender : public KTRenderer {
public:
    explicit KTRender(std::shared_ptr<KTRenderBackend> backend);

    const std::shared_ptr<KTRenderBackend>& backend() const { return backend_; }

    void begin() override;
    void end() override;
    // Takes the logical size and the window's drawable size from the director.
    void setOrtho() override;
    unsigned lastFrameRects() const override { return lastFrameRects_; }
    // While set, drawing draws and counts nothing.
    void setSimulate(bool simulate) { simulate_ = simulate; }

    Color color() const override { return currentColor_; }
    void setColor(Color color) override { currentColor_ = color; }
    void multColor(Color color) override;
    void pushColor() override { colorStack_.push_back(currentColor_); }
    void popColor() override;

    void setImageData(const KTImageData* image) override;
    void setImageData(const KTImageData* image, const CGRect& textureRect) override;
    // No masks on this back end: while one is set, rectangles and quads draw nothing.
    void setMaskData(const KTImageData* mask) override { currentMask_ = mask; }

    void identity() override;
    void translate(CGPoint offset) override;
    void scale(CGPoint factors) override;
    void rotate(float degrees) override;
    void push() override { transformStack_.push_back(world_); }
    void pop() override;
    CGPoint translatePoint(CGPoint point) const override { return world_.transformPoint(point); }
    const KTMatrix& worldMatrix() const { return world_; }

    void drawRect(const CGRect& rect) override;
    void drawQuad(const CGQuad& quad) override;
    void drawTri(const KTVertex& a, const KTVertex& b, const KTVertex& c) override;

private:
    void setWorld(const KTMatrix& world);
    // The current image's texture, or none when there is no image or it has no texture.
    void bindCurrentImage();

    std::shared_ptr<KTRenderBackend> backend_;
    Color currentColor_ = kColorWhite;
    const KTImageData* currentImage_ = nullptr;
    const KTImageData* currentMask_ = nullptr;
    CGRect currentTRect_{{0, 0}, {1, 1}};
    // The current image is drawn whole, so its texture rectangle is the one it keeps.
    bool wholeImage_ = true;
    // The back end holds the current image's texture and rectangle.
    bool imageBound_ = false;
    std::vector<Color> colorStack_;
    std::vector<KTMatrix> transformStack_;
    KTMatrix world_;
    unsigned lastFrameRects_ = 0;
    unsigned currentRects_ = 0;
    bool simulate_ = false;
};

}  // namespace kt
