#include "engine/core/KTGeometry.h"

#include <cmath>

namespace kt {

float CGPointLength(CGPoint p) {
    return std::sqrt(CGPointLengthSq(p));
}

CGPoint CGPointNormalize(CGPoint p) {
    const float length = CGPointLength(p);
    if (length == 0) return p;
    return CGPointScale(p, 1.0f / length);
}

}  // namespace kt
