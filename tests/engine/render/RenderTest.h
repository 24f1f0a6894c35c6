#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/render/KTRender.h"
#include "engine/render/KTRenderBackend.h"
#include "tests/support/DataFileTest.h"

namespace kt::test {

// A back end without a device: it keeps every batch it is handed and the textures it was asked to make.
class RecordingBackend : public KTRenderBackend {
public:
    struct Batch {
        TextureHandle texture;
        std::vector<KTBackendVertex> vertices;
        std::vector<int> indices;
    };

    std::vector<Batch> batches;
    std::vector<TextureHandle> releasedTextures;
    TextureHandle lastTexture = kNoTexture;

    TextureHandle createTexture(int, int, const std::uint8_t*, int, bool) override { return ++lastTexture; }
    void releaseTexture(TextureHandle texture) override { releasedTextures.push_back(texture); }

protected:
    bool startFrame() override { return true; }
    void present() override {}
    void submit(TextureHandle texture, const KTBackendVertex* vertices, std::size_t vertexCount,
                const int* indices, std::size_t indexCount) override {
        batches.push_back({texture, {vertices, vertices + vertexCount}, {indices, indices + indexCount}});
    }
};

// Content tests with the render module installed on a recording back end, at a 1024 x 768 window.
class RenderTest : public DataFileTest {
protected:
    RenderTest();

    // Writes a PNG of one colour (0xAARRGGBB) below the data folder; answers its full path.
    std::string writePng(const std::string& name, int width, int height, std::uint32_t argb) const;
    // Draws one frame of the running scene.
    void drawFrame() const;
    // Draws the node alone in a frame of the renderer.
    void drawNode(KTNode& node) const;

    std::shared_ptr<RecordingBackend> backend = std::make_shared<RecordingBackend>();
    std::shared_ptr<KTRender> render;
};

}  // namespace kt::test
