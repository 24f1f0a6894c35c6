#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTResourceLoaders.h"

namespace kt::test {

// The media modules define image data, fonts and samples; the core only stores and hands them on. Tests
// stand in a small record of their own for each.
struct FakeMedia {
    std::string path;
    CGRect rect;
    bool loop = false;
};

template <typename Media>
std::shared_ptr<Media> asMedia(std::shared_ptr<FakeMedia> fake) {
    return std::reinterpret_pointer_cast<Media>(std::move(fake));
}

template <typename Media>
const FakeMedia& fakeOf(const Media& media) {
    return *reinterpret_cast<const FakeMedia*>(&media);
}

// An atlas of two 46 x 46 frames, "ball_red.png" and "ball_blue.png" side by side, on "sheet.png".
constexpr const char* kAtlas =
    "<plist "
    "version=\"1.0\"><dict><key>metadata</key><dict><key>textureFileName</key><string>sheet.png</string>"
    "</dict><key>frames</key><dict>"
    "<key>ball_red.png</key><dict><key>x</key><integer>0</integer><key>y</key><integer>0</integer>"
    "<key>width</key><integer>46</integer><key>height</key><integer>46</integer></dict>"
    "<key>ball_blue.png</key><dict><key>x</key><real>46</real><key>y</key><integer>0</integer>"
    "<key>width</key><integer>46</integer><key>height</key><integer>46</integer></dict>"
    "</dict></dict></plist>";

// Counts every load; missing files and files whose path ends in ".bad" cannot be decoded.
class FakeImageLoader : public KTImageLoader {
public:
    std::vector<std::string> loaded;

    std::shared_ptr<KTImageData> loadImage(const std::string& path) override {
        loaded.push_back(path);
        if (path.ends_with(".bad") || !std::filesystem::is_regular_file(path)) return nullptr;
        return asMedia<KTImageData>(std::make_shared<FakeMedia>(FakeMedia{path, {{0, 0}, {256, 128}}}));
    }
    std::shared_ptr<KTImageData> imageOnTexture(const KTImageData& image, const CGRect& rect) override {
        return asMedia<KTImageData>(std::make_shared<FakeMedia>(FakeMedia{fakeOf(image).path, rect}));
    }
    CGSize textureSize(const KTImageData& image) const override { return fakeOf(image).rect.size; }
};

}  // namespace kt::test
