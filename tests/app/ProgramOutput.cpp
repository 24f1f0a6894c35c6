#include "tests/app/ProgramOutput.h"

#include <stb/stb_image.h>

#include <cstdlib>

namespace moonbrook::test {

const nlohmann::json* findNode(const nlohmann::json& node, const std::string& name) {
    if (node["name"] == name) return &node;
    for (const nlohmann::json& child : node["children"]) {
        if (const nlohmann::json* found = findNode(child, name)) return found;
    }
    return nullptr;
}

bool showsText(const nlohmann::json& node, const std::string& text) {
    if (node.contains("text") && node["text"] == text) return true;
    for (const nlohmann::json& child : node["children"]) {
        if (showsText(child, text)) return true;
    }
    return false;
}

bool near(Pixel pixel, Pixel wanted, int tolerance) {
    return std::abs(pixel.r - wanted.r) <= tolerance && std::abs(pixel.g - wanted.g) <= tolerance &&
           std::abs(pixel.b - wanted.b) <= tolerance;
}

Screenshot::Screenshot(const std::filesystem::path& path) {
    pixels_.reset(stbi_load(path.c_str(), &width_, &height_, nullptr, 3));
}

Pixel Screenshot::at(int x, int y) const {
    const unsigned char* p = pixels_.get() + (y * width_ + x) * 3;
    return {p[0], p[1], p[2]};
}

void Screenshot::Free::operator()(unsigned char* pixels) const {
    stbi_image_free(pixels);
}

}  // namespace moonbrook::test
