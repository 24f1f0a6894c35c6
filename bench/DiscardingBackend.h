#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>

#include "engine/render/KTRenderBackend.h"

namespace kt::bench {

// Takes every batch and draws nothing, so that a benchmark measures the work up to the device.
class DiscardingBackend : public KTRenderBackend {
public:
    TextureHandle createTexture(int, int, const std::uint8_t*, int, bool) override { return 1; }
    void releaseTexture(TextureHandle) override {}

protected:
    bool startFrame() override { return true; }
    void present() override {}
    void submit(TextureHandle, const KTBackendVertex* vertices, std::size_t, const int*,
                std::size_t) override {
        benchmark::DoNotOptimize(vertices);
    }
};

}  // namespace kt::bench
