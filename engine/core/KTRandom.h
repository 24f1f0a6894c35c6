#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace kt {

// The one pseudo-random generator of the program: the classic linear congruential generator with the range
// 0..32767, seeded with 1 unless a seed is given, so that a seed and a script reproduce a run exactly.
class KTRandom {
public:
    static constexpr int kMax = 32767;

    static KTRandom& shared();

    void seed(std::uint32_t seed) { state_ = seed; }
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t state_ = 1;
};

// a + (b - a) * r / 32767 for the next generator value r.
float randf(float a, float b);
// An integer in a..b, both ends included.
int randi(int a, int b);

template <typename T>
void ShuffleArray(std::vector<T>& items) {
    const std::size_t n = items.size();
    if (n <= 1) return;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(KTRandom::shared().next()) % (n - i) + i;
        std::swap(items[i], items[j]);
    }
}

}  // namespace kt
