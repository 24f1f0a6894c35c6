#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/render/KTRenderBackend.h"

namespace kt {

// A back end without a device: it takes every batch and draws nothing, so that the whole path up to the
// device runs where no window exists (benchmarks, fuzzing, simulations).
class KTNullRenderBackend : public KTRenderBackend {
public:
    TextureHandle createTexture(int, int, const std::uint8_t*, int, bool) override { return 1; }
    void releaseTexture(TextureHandle) override {}

protected:
    bool startFrame() override { return true; }
    void present() override {}
    void submit(TextureHandle, const KTBackendVertex*, std::size_t, const int*, std::size_t) override {}
};

}  // namespace kt
