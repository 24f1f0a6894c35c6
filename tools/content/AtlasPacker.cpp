#include "tools/content/AtlasPacker.h"

#include <filesystem>

#include "engine/core/KTPlist.h"
#include "tools/content/RectanglePacker.h"
#include "tools/content/RgbaImage.h"

namespace moonbrook::tools {

namespace {

// Two empty pixels between frames keep linear filtering from bleeding one frame into the next.
constexpr int kFramePadding = 2;

kt::KTPlist frameEntry(const PackedRectangle& rect) {
    return kt::KTPlist(kt::KTPlist::Dictionary{
        {"x", rect.x}, {"y", rect.y}, {"width", rect.width}, {"height", rect.height}});
}

}  // namespace

std::string atlasTextureFileName(const std::string& atlasPath) {
    std::string name = std::filesystem::path(atlasPath).filename().string();
    const std::string suffix = ".atlas.plist";
    if (name.size() > suffix.size() && name.ends_with(suffix)) name.resize(name.size() - suffix.size());
    return name + ".png";
}

std::optional<std::string> packAtlas(const std::vector<AtlasFrameSource>& frames,
                                     const std::string& atlasPath) {
    std::vector<RgbaImage> images;
    std::vector<PackSize> sizes;
    for (const AtlasFrameSource& frame : frames) {
        auto image = RgbaImage::load(frame.path);
        if (!image) return "cannot read " + frame.path;
        sizes.push_back({image->width, image->height});
        images.push_back(std::move(*image));
    }
    const auto page = packRectangles(sizes, kFramePadding);
    if (!page) return "the pictures do not fit one texture";
    RgbaImage texture(page->width, page->height);
    kt::KTPlist frameTable = kt::KTPlist::emptyDictionary();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const PackedRectangle& rect = page->rectangles[i];
        texture.copyFrom(images[i], rect.x, rect.y);
        frameTable[frames[i].frameName] = frameEntry(rect);
    }
    const std::filesystem::path folder = std::filesystem::path(atlasPath).parent_path();
    const std::string textureName = atlasTextureFileName(atlasPath);
    if (!texture.savePng((folder / textureName).string())) return "cannot write " + textureName;
    kt::KTPlist atlas = kt::KTPlist::emptyDictionary();
    atlas["metadata"]["textureFileName"] = textureName;
    atlas["frames"] = std::move(frameTable);
    if (!atlas.writeFile(atlasPath)) return "cannot write " + atlasPath;
    return std::nullopt;
}

}  // namespace moonbrook::tools
