// atlas_packer ATLAS.atlas.plist ROOT PICTURE.png...
// Packs the pictures into one texture beside the atlas file; each frame is named by its picture's path
// relative to ROOT (pictures below ROOT/data are named "data/...", as the game asks for them).
#include <filesystem>
#include <iostream>

#include "tools/content/AtlasPacker.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: atlas_packer ATLAS.atlas.plist ROOT PICTURE.png...\n";
        return 2;
    }
    const std::filesystem::path root(argv[2]);
    std::vector<moonbrook::tools::AtlasFrameSource> frames;
    for (int i = 3; i < argc; ++i) {
        frames.push_back({std::filesystem::path(argv[i]).lexically_relative(root).generic_string(), argv[i]});
    }
    if (const auto problem = moonbrook::tools::packAtlas(frames, argv[1])) {
        std::cerr << "atlas_packer: " << argv[1] << ": " << *problem << "\n";
        return 1;
    }
    return 0;
}
