#pragma once

#include <SDL.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "engine/render/KTRenderBackend.h"

namespace kt {

// Draws the renderer's batches into an SDL window with SDL_RenderGeometry. Each frame starts from black,
// so letterbox margins never show stale pixels. In a window, presenting waits for the display's refresh
// (or sleeps up to one refresh where the driver does not wait), so a windowed game does not spin a core;
// with the headless drivers frames go out unthrottled.
class KTSDLRenderBackend : public KTRenderBackend {
public:
    // None, with SDL's reason in `error`, when no renderer can be made for the window.
    static std::shared_ptr<KTSDLRenderBackend> create(SDL_Window* window, std::string& error);

    ~KTSDLRenderBackend() override;
    KTSDLRenderBackend(const KTSDLRenderBackend&) = delete;
    KTSDLRenderBackend& operator=(const KTSDLRenderBackend&) = delete;

    TextureHandle createTexture(int width, int height, const std::uint8_t* pixels, int pitch,
                                bool alpha) override;
    void releaseTexture(TextureHandle texture) override;

    SDL_Renderer* sdlRenderer() const { return renderer_; }

protected:
    bool startFrame() override;
    void present() override;
    void submit(TextureHandle texture, const KTBackendVertex* vertices, std::size_t vertexCount,
                const int* indices, std::size_t indexCount) override;
    KTFrameImage readLogicalFrame() override;

private:
    KTSDLRenderBackend(SDL_Renderer* renderer, bool throttle, int refreshRate);
    void waitForNextRefresh();

    SDL_Renderer* renderer_;
    bool throttle_;
    Uint32 refreshMilliseconds_;
    Uint32 lastPresent_ = 0;
    std::unordered_map<TextureHandle, SDL_Texture*> textures_;
    TextureHandle nextTexture_ = 1;
};

}  // namespace kt
