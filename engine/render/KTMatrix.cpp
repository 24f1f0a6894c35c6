#include "engine/render/KTMatrix.h"

#include <algorithm>
#include <cmath>

namespace kt {

KTMatrix KTMatrix::translation(float x, float y) {
    KTMatrix result;
    result.m[12] = x;
    result.m[13] = y;
    return result;
}

KTMatrix KTMatrix::scaling(float x, float y) {
    KTMatrix result;
    result.m[0] = x;
    result.m[5] = y;
    return result;
}

KTMatrix KTMatrix::rotation(float degrees) {
    const double radians = degrees * 0.017453292519943295;
    const auto c = static_cast<float>(std::cos(radians));
    const auto s = static_cast<float>(std::sin(radians));
    KTMatrix result;
    result.m[0] = c;
    result.m[1] = s;
    result.m[4] = -s;
    result.m[5] = c;
    return result;
}

void KTMatrix::setData(const float* values) {
    std::copy(values, values + 16, m.begin());
}

CGPoint KTMatrix::transformPoint(CGPoint point) const {
    const float x = point.x * m[0] + point.y * m[4] + m[12];
    const float y = point.x * m[1] + point.y * m[5] + m[13];
    const float w = point.x * m[3] + point.y * m[7] + m[15];
    return w == 0 ? CGPoint{x, y} : CGPoint{x / w, y / w};
}

KTMatrix operator*(const KTMatrix& a, const KTMatrix& b) {
    KTMatrix result;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a.m[row * 4 + k] * b.m[k * 4 + column];
            result.m[row * 4 + column] = sum;
        }
    }
    return result;
}

}  // namespace kt
