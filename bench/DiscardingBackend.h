#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

#include "engine/render/KTNullRenderBackend.h"

namespace kt::bench {

// The null back end, keeping the vertices it is handed alive for the optimiser, so that a benchmark
// measures the work up to the device.
class DiscardingBackend : public KTNullRenderBackend {
protected:
    void submit(TextureHandle, const KTBackendVertex* vertices, std::size_t, const int*,
                std::size_t) override {
        benchmark::DoNotOptimize(vertices);
    }
};

}  // namespace kt::bench
