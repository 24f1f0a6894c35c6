#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/core/KTGeometry.h"

namespace kt {

class KTFont;
class KTImageData;
class KTSample;

// Turns image files into image data; the render module installs its implementation in the resource
// manager. Atlas frames are rectangles on the texture of an image the loader made.
class KTImageLoader {
public:
    virtual ~KTImageLoader() = default;

    // Image data covering the whole bitmap of the file, on a texture of its own; none when the file cannot
    // be decoded.
    virtual std::shared_ptr<KTImageData> loadImage(const std::string& path) = 0;
    // Image data for a rectangle, in texture pixels, of the texture that the image lies on.
    virtual std::shared_ptr<KTImageData> imageOnTexture(const KTImageData& image, const CGRect& rect) = 0;
    virtual CGSize textureSize(const KTImageData& image) const = 0;
};

// Reads a font description file; installed by the text module. None when the file cannot be read.
using KTFontLoader = std::function<std::shared_ptr<KTFont>(const std::string& path)>;
// Decodes a sound file; installed by the audio module. None when the file cannot be decoded.
using KTSampleLoader = std::function<std::shared_ptr<KTSample>(const std::string& path, bool loop)>;

}  // namespace kt
