#pragma once

#include "engine/core/KTRenderer.h"

namespace kt::bench {

// Accepts every drawing call and does nothing, so that a benchmark measures the tree and not the drawing.
class NullRenderer : public KTRenderer {
public:
    void begin() override {}
    void end() override {}
    void setOrtho() override {}
    unsigned lastFrameRects() const override { return 0; }
    Color color() const override { return kColorWhite; }
    void setColor(Color) override {}
    void multColor(Color) override {}
    void pushColor() override {}
    void popColor() override {}
    void setImageData(const KTImageData*) override {}
    void setImageData(const KTImageData*, const CGRect&) override {}
    void setMaskData(const KTImageData*) override {}
    void identity() override {}
    void translate(CGPoint) override {}
    void scale(CGPoint) override {}
    void rotate(float) override {}
    void push() override {}
    void pop() override {}
    CGPoint translatePoint(CGPoint point) const override { return point; }
    void drawRect(const CGRect&) override {}
    void drawQuad(const CGQuad&) override {}
    void drawTri(const KTVertex&, const KTVertex&, const KTVertex&) override {}
};

}  // namespace kt::bench
