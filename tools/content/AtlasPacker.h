#pragma once

#include <optional>
#include <string>
#include <vector>

namespace moonbrook::tools {

// One picture to pack: the name the game asks for (a resource name such as "data/gfx/balls/a.png") and the
// file to read it from.
struct AtlasFrameSource {
    std::string frameName;
    std::string path;
};

// Packs pictures onto one texture so everything drawn from it goes to the renderer as one batch, and writes
// the atlas property list: "metadata" with "textureFileName" (relative to the atlas file's folder) and
// "frames" from frame name to its "x", "y", "width", "height" on the texture. The texture is written next to
// the atlas file, named after it ("balls.atlas.plist" -> "balls.png"). Answers what went wrong, or none.
std::optional<std::string> packAtlas(const std::vector<AtlasFrameSource>& frames,
                                     const std::string& atlasPath);

// The texture's file name for an atlas file name.
std::string atlasTextureFileName(const std::string& atlasPath);

}  // namespace moonbrook::tools
