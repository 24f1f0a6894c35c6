#pragma once

#include "engine/core/KTColor.h"
#include "engine/core/KTGeometry.h"

namespace kt {

class KTImageData;

// Vertex of a triangle: position, texture coordinates and colour.
struct KTVertex {
    CGPoint p;
    float u = 0;
    float v = 0;
    Color color;
};

// The drawing interface that the node tree draws through. The renderer module implements it; tests use
// recording fakes. Transform operations multiply the new factor in front of the world matrix, so the most
// recent one acts first on the vertices.
class KTRenderer {
public:
    virtual ~KTRenderer() = default;

    virtual void begin() = 0;
    virtual void end() = 0;
    virtual void setOrtho() = 0;
    virtual unsigned lastFrameRects() const = 0;

    virtual Color color() const = 0;
    virtual void setColor(Color color) = 0;
    virtual void multColor(Color color) = 0;
    virtual void pushColor() = 0;
    virtual void popColor() = 0;

    virtual void setImageData(const KTImageData* image) = 0;
    virtual void setImageData(const KTImageData* image, const CGRect& textureRect) = 0;
    virtual void setMaskData(const KTImageData* mask) = 0;

    virtual void identity() = 0;
    virtual void translate(CGPoint offset) = 0;
    virtual void scale(CGPoint factors) = 0;
    virtual void rotate(float degrees) = 0;
    virtual void push() = 0;
    virtual void pop() = 0;
    virtual CGPoint translatePoint(CGPoint point) const = 0;

    virtual void drawRect(const CGRect& rect) = 0;
    virtual void drawQuad(const CGQuad& quad) = 0;
    virtual void drawTri(const KTVertex& a, const KTVertex& b, const KTVertex& c) = 0;
};

}  // namespace kt
