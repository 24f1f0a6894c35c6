#pragma once

#include <array>

#include "engine/core/KTGeometry.h"

namespace kt {

// 4 x 4 matrix, row-major, for row vectors: a point is the row (x, y, 0, 1) times the matrix, so the
// translation sits in the fourth row and A * B applies A first.
struct KTMatrix {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static KTMatrix identity() { return {}; }
    static KTMatrix translation(float x, float y);
    static KTMatrix scaling(float x, float y);
    static KTMatrix rotation(float degrees);

    const float* data() const { return m.data(); }
    void setData(const float* values);

    // The point as (x, y, 0, 1) times the matrix, divided by the resulting w.
    CGPoint transformPoint(CGPoint point) const;

    friend KTMatrix operator*(const KTMatrix& a, const KTMatrix& b);
    friend bool operator==(const KTMatrix&, const KTMatrix&) = default;
};

}  // namespace kt
