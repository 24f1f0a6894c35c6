// Quad submission through the renderer without a device, and whole frames of 10,000 atlas quads on SDL's
// software renderer next to the same frame drawn with one SDL_RenderCopy per quad.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "bench/DiscardingBackend.h"
#include "engine/core/KTDirector.h"
#include "engine/platform/KTSDLPlatform.h"
#include "engine/platform/KTSDLRenderBackend.h"
#include "engine/render/KTBitmap.h"
#include "engine/render/KTImageData.h"
#include "engine/render/KTRender.h"
#include "engine/render/KTTexture.h"

namespace kt {
namespace {

constexpr int kQuadsPerFrame = 10000;
constexpr int kAtlasSize = 256;
constexpr int kCellSize = 32;

KTBitmap atlasBitmap() {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kAtlasSize * kAtlasSize * 4));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7);
    return KTBitmap::fromPixels(kAtlasSize, kAtlasSize, BitmapFormat::rgba, std::move(pixels));
}

// Every cell of the atlas as a region of its one texture.
std::vector<KTImageData> atlasCells(const std::shared_ptr<KTTexture>& texture) {
    std::vector<KTImageData> cells;
    for (int y = 0; y < kAtlasSize; y += kCellSize) {
        for (int x = 0; x < kAtlasSize; x += kCellSize) {
            cells.emplace_back(texture,
                               CGRect{{static_cast<float>(x), static_cast<float>(y)},
                                      {static_cast<float>(kCellSize), static_cast<float>(kCellSize)}});
        }
    }
    return cells;
}

CGRect quadRect(int i) {
    return {{static_cast<float>(i * 37 % 992), static_cast<float>(i * 53 % 736)}, {32, 32}};
}

// A board-like frame: each quad a different cell and colour, inside a pushed and translated transform.
void drawAtlasFrame(KTRender& render, const std::vector<KTImageData>& cells) {
    render.begin();
    render.push();
    render.translate({4, 4});
    for (int i = 0; i < kQuadsPerFrame; ++i) {
        render.setImageData(&cells[static_cast<std::size_t>(i) % cells.size()]);
        render.setColor(Color{0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8)});
        render.drawRect(quadRect(i));
    }
    render.pop();
    render.end();
}

// The floor: four vertices transformed and written per quad, with nothing else.
void BM_RawVertexBuilding(benchmark::State& state) {
    std::vector<KTBackendVertex> vertices(kQuadsPerFrame * 4);
    const std::array<float, 6> m{1, 0, 0, 1, 4, 4};
    for (auto _ : state) {
        for (int i = 0; i < kQuadsPerFrame; ++i) {
            const CGRect r = quadRect(i);
            const float xs[4] = {r.origin.x, r.origin.x + 32, r.origin.x, r.origin.x + 32};
            const float ys[4] = {r.origin.y, r.origin.y, r.origin.y + 32, r.origin.y + 32};
            for (int k = 0; k < 4; ++k) {
                vertices[static_cast<std::size_t>(i * 4 + k)] = {xs[k] * m[0] + ys[k] * m[2] + m[4],
                                                                 xs[k] * m[1] + ys[k] * m[3] + m[5],
                                                                 255,
                                                                 255,
                                                                 255,
                                                                 255,
                                                                 0,
                                                                 0};
            }
        }
        benchmark::DoNotOptimize(vertices.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kQuadsPerFrame);
}
BENCHMARK(BM_RawVertexBuilding);

void BM_SubmitTexturedQuad(benchmark::State& state) {
    auto backend = std::make_shared<bench::DiscardingBackend>();
    KTRender render(backend);
    const auto texture = std::make_shared<KTTexture>(atlasBitmap(), backend);
    const std::vector<KTImageData> cells = atlasCells(texture);
    for (auto _ : state)
        drawAtlasFrame(render, cells);
    state.SetItemsProcessed(state.iterations() * kQuadsPerFrame);
    state.counters["batches"] = backend->lastFrameBatches();
}
BENCHMARK(BM_SubmitTexturedQuad);

// A headless window on SDL's software renderer, as the program opens it with --headless.
class HeadlessWindow {
public:
    HeadlessWindow() {
        std::string error;
        auto platform = KTSDLPlatform::create(true, error);
        if (!platform || !platform->createWindow({1024, 768})) return;
        backend_ = KTSDLRenderBackend::create(platform->window(), error);
        KTDirector::shared().setPlatform(std::move(platform));
    }
    ~HeadlessWindow() {
        backend_.reset();
        KTDirector::shared().shutdown();
    }
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    const std::shared_ptr<KTSDLRenderBackend>& backend() const { return backend_; }

private:
    std::shared_ptr<KTSDLRenderBackend> backend_;
};

void BM_AtlasFrameBatched(benchmark::State& state) {
    HeadlessWindow window;
    if (!window.backend()) {
        state.SkipWithError("no headless window");
        return;
    }
    KTRender render(window.backend());
    const auto texture = std::make_shared<KTTexture>(atlasBitmap(), window.backend());
    const std::vector<KTImageData> cells = atlasCells(texture);
    for (auto _ : state)
        drawAtlasFrame(render, cells);
    state.counters["batches"] = window.backend()->lastFrameBatches();
    state.SetItemsProcessed(state.iterations() * kQuadsPerFrame);
}
BENCHMARK(BM_AtlasFrameBatched)->Unit(benchmark::kMillisecond);

void BM_AtlasFrameOneCopyPerQuad(benchmark::State& state) {
    HeadlessWindow window;
    if (!window.backend()) {
        state.SkipWithError("no headless window");
        return;
    }
    SDL_Renderer* renderer = window.backend()->sdlRenderer();
    const KTBitmap bitmap = atlasBitmap();
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, kAtlasSize, kAtlasSize);
    SDL_UpdateTexture(texture, nullptr, bitmap.data().data(), kAtlasSize * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    const int cellsPerRow = kAtlasSize / kCellSize;
    for (auto _ : state) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        for (int i = 0; i < kQuadsPerFrame; ++i) {
            const int cell = i % (cellsPerRow * cellsPerRow);
            const SDL_Rect source{cell % cellsPerRow * kCellSize, cell / cellsPerRow * kCellSize, kCellSize,
                                  kCellSize};
            const CGRect r = quadRect(i);
            const SDL_Rect target{static_cast<int>(r.origin.x) + 4, static_cast<int>(r.origin.y) + 4, 32, 32};
            const auto tint = static_cast<std::uint32_t>(i * 2654435761u >> 8);
            SDL_SetTextureColorMod(texture, static_cast<Uint8>(tint >> 16), static_cast<Uint8>(tint >> 8),
                                   static_cast<Uint8>(tint));
            SDL_RenderCopy(renderer, texture, &source, &target);
        }
        SDL_RenderPresent(renderer);
    }
    SDL_DestroyTexture(texture);
    state.SetItemsProcessed(state.iterations() * kQuadsPerFrame);
}
BENCHMARK(BM_AtlasFrameOneCopyPerQuad)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kt
