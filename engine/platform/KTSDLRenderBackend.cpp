#include "engine/platform/KTSDLRenderBackend.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "engine/core/KTLog.h"

namespace kt {
namespace {

constexpr int kDefaultRefreshRate = 60;

bool isHeadlessDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string_view name = driver ? driver : "";
    return name == "dummy" || name == "offscreen";
}

// Samples the nearest source pixel for every pixel of the logical size.
KTFrameImage resample(const std::vector<std::uint8_t>& rgba, int width, int height, int logicalWidth,
                      int logicalHeight) {
    KTFrameImage image{logicalWidth, logicalHeight, {}};
    image.rgba.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4);
    for (int y = 0; y < image.height; ++y) {
        const int sourceY = y * height / image.height;
        for (int x = 0; x < image.width; ++x) {
            const int sourceX = x * width / image.width;
            const auto from = static_cast<std::size_t>((sourceY * width + sourceX) * 4);
            const auto to = static_cast<std::size_t>((y * image.width + x) * 4);
            std::copy_n(rgba.begin() + static_cast<std::ptrdiff_t>(from), 4,
                        image.rgba.begin() + static_cast<std::ptrdiff_t>(to));
        }
    }
    return image;
}

}  // namespace

std::shared_ptr<KTSDLRenderBackend> KTSDLRenderBackend::create(SDL_Window* window, std::string& error) {
    // Software renderers batch only when asked to; the hint must be set before the renderer exists.
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    const bool headless = isHeadlessDriver();
    const Uint32 flags =
        headless ? SDL_RENDERER_SOFTWARE : SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC;
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, flags);
    if (!renderer && !headless) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) {
        error = SDL_GetError();
        KTLog("Error: Can't create the renderer: %s", error);
        return nullptr;
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    KTLog("renderer: %s", info.name);
    SDL_DisplayMode mode{};
    const int index = SDL_GetWindowDisplayIndex(window);
    const int refresh = index >= 0 && SDL_GetCurrentDisplayMode(index, &mode) == 0 && mode.refresh_rate > 0
                            ? mode.refresh_rate
                            : kDefaultRefreshRate;
    return std::shared_ptr<KTSDLRenderBackend>(new KTSDLRenderBackend(renderer, !headless, refresh));
}

KTSDLRenderBackend::KTSDLRenderBackend(SDL_Renderer* renderer, bool throttle, int refreshRate)
    : renderer_(renderer),
      throttle_(throttle),
      refreshMilliseconds_(static_cast<Uint32>(1000 / refreshRate)) {}

KTSDLRenderBackend::~KTSDLRenderBackend() {
    for (const auto& entry : textures_)
        SDL_DestroyTexture(entry.second);
    SDL_DestroyRenderer(renderer_);
}

KTRenderBackend::TextureHandle KTSDLRenderBackend::createTexture(int width, int height,
                                                                 const std::uint8_t* pixels, int pitch,
                                                                 bool alpha) {
    SDL_Texture* texture =
        SDL_CreateTexture(renderer_, alpha ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24,
                          SDL_TEXTUREACCESS_STATIC, width, height);
    if (!texture) {
        KTLog("texture of %dx%d not created: %s", width, height, SDL_GetError());
        return kNoTexture;
    }
    SDL_UpdateTexture(texture, nullptr, pixels, pitch);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    const TextureHandle handle = nextTexture_++;
    textures_.emplace(handle, texture);
    return handle;
}

void KTSDLRenderBackend::releaseTexture(TextureHandle texture) {
    const auto found = textures_.find(texture);
    if (found == textures_.end()) return;
    SDL_DestroyTexture(found->second);
    textures_.erase(found);
}

bool KTSDLRenderBackend::startFrame() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    return true;
}

void KTSDLRenderBackend::present() {
    SDL_RenderPresent(renderer_);
    if (throttle_) waitForNextRefresh();
}

// Where the driver returns from presenting at once (no vertical sync under some X servers), the rest of
// one refresh is slept away.
void KTSDLRenderBackend::waitForNextRefresh() {
    const Uint32 elapsed = SDL_GetTicks() - lastPresent_;
    if (elapsed < refreshMilliseconds_) SDL_Delay(refreshMilliseconds_ - elapsed);
    lastPresent_ = SDL_GetTicks();
}

void KTSDLRenderBackend::submit(TextureHandle texture, const KTBackendVertex* vertices,
                                std::size_t vertexCount, const int* indices, std::size_t indexCount) {
    const auto found = textures_.find(texture);
    SDL_Texture* sdlTexture = found == textures_.end() ? nullptr : found->second;
    constexpr int stride = sizeof(KTBackendVertex);
    if (SDL_RenderGeometryRaw(renderer_, sdlTexture, &vertices->x, stride,
                              reinterpret_cast<const SDL_Color*>(&vertices->r), stride, &vertices->u, stride,
                              static_cast<int>(vertexCount), indices, static_cast<int>(indexCount),
                              sizeof(int)) != 0) {
        KTLog("batch not drawn: %s", SDL_GetError());
    }
}

KTFrameImage KTSDLRenderBackend::readLogicalFrame() {
    const CGRect area = logicalScreenInPixels();
    const SDL_Rect rect{
        static_cast<int>(std::lround(area.origin.x)), static_cast<int>(std::lround(area.origin.y)),
        static_cast<int>(std::lround(area.size.width)), static_cast<int>(std::lround(area.size.height))};
    if (rect.w <= 0 || rect.h <= 0) return {};
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(rect.w) * static_cast<std::size_t>(rect.h) * 4);
    if (SDL_RenderReadPixels(renderer_, &rect, SDL_PIXELFORMAT_RGBA32, rgba.data(), rect.w * 4) != 0) {
        KTLog("frame not read: %s", SDL_GetError());
        return {};
    }
    const CGSize logical = logicalSize();
    const auto width = static_cast<int>(std::lround(logical.width));
    const auto height = static_cast<int>(std::lround(logical.height));
    if (rect.w == width && rect.h == height) return {rect.w, rect.h, std::move(rgba)};
    return resample(rgba, rect.w, rect.h, width, height);
}

}  // namespace kt
