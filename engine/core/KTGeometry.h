#pragma once

// Float value types in logical pixels (origin top-left, y downwards) and integer cell coordinates.

namespace kt {

struct CGPoint {
    float x = 0;
    float y = 0;

    friend bool operator==(const CGPoint&, const CGPoint&) = default;
};

struct CGSize {
    float width = 0;
    float height = 0;

    friend bool operator==(const CGSize&, const CGSize&) = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;

    friend bool operator==(const CGRect&, const CGRect&) = default;
};

// Corners in the order top-left, top-right, bottom-right, bottom-left.
struct CGQuad {
    CGPoint p[4];
};

struct KTPosition {
    int x = 0;
    int y = 0;

    friend bool operator==(const KTPosition&, const KTPosition&) = default;
};

inline constexpr CGPoint CGPointZero{};
inline constexpr CGSize CGSizeZero{};
inline constexpr CGRect CGRectZero{};

constexpr CGPoint CGPointMake(float x, float y) {
    return {x, y};
}
constexpr CGSize CGSizeMake(float width, float height) {
    return {width, height};
}
constexpr CGRect CGRectMake(float x, float y, float width, float height) {
    return {{x, y}, {width, height}};
}
constexpr KTPosition KTPositionMake(int x, int y) {
    return {x, y};
}
constexpr CGQuad CGQuadMake(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) {
    return {{{x0, y0}, {x1, y1}, {x2, y2}, {x3, y3}}};
}

constexpr CGPoint CGPointAdd(CGPoint a, CGPoint b) {
    return {a.x + b.x, a.y + b.y};
}
constexpr CGPoint CGPointSub(CGPoint a, CGPoint b) {
    return {a.x - b.x, a.y - b.y};
}
constexpr CGPoint CGPointScale(CGPoint p, float factor) {
    return {p.x * factor, p.y * factor};
}
constexpr CGPoint CGPointLerp(CGPoint a, CGPoint b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}
constexpr float CGPointDotProduct(CGPoint a, CGPoint b) {
    return a.x * b.x + a.y * b.y;
}
constexpr float CGPointLengthSq(CGPoint p) {
    return CGPointDotProduct(p, p);
}
float CGPointLength(CGPoint p);
// The zero vector has no direction: it is returned unchanged instead of dividing by zero.
CGPoint CGPointNormalize(CGPoint p);

constexpr float CGRectGetMinX(const CGRect& r) {
    return r.origin.x;
}
constexpr float CGRectGetMaxX(const CGRect& r) {
    return r.origin.x + r.size.width;
}
constexpr float CGRectGetMinY(const CGRect& r) {
    return r.origin.y;
}
constexpr float CGRectGetMaxY(const CGRect& r) {
    return r.origin.y + r.size.height;
}

}  // namespace kt
