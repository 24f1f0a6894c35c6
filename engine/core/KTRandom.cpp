#include "engine/core/KTRandom.h"

namespace kt {

KTRandom& KTRandom::shared() {
    static KTRandom generator;
    return generator;
}

float randf(float a, float b) {
    const int r = KTRandom::shared().next();
    return a + (b - a) * (static_cast<float>(r) / static_cast<float>(KTRandom::kMax));
}

int randi(int a, int b) {
    const int r = KTRandom::shared().next();
    return r % (b - a + 1) + a;
}

}  // namespace kt
