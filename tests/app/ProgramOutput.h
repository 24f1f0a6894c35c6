#pragma once

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace moonbrook::test {

// The first node of that name in a dumped scene tree, or none.
const nlohmann::json* findNode(const nlohmann::json& node, const std::string& name);
// Whether a text node in the dumped tree shows that text, hidden or not.
bool showsText(const nlohmann::json& node, const std::string& text);

struct Pixel {
    int r = 0;
    int g = 0;
    int b = 0;
};

// Each channel within the tolerance.
bool near(Pixel pixel, Pixel wanted, int tolerance);

// A screenshot the program wrote, as RGB pixels of the logical screen.
class Screenshot {
public:
    explicit Screenshot(const std::filesystem::path& path);
    bool loaded() const { return pixels_ && width_ == 1024 && height_ == 768; }
    Pixel at(int x, int y) const;

private:
    struct Free {
        void operator()(unsigned char* pixels) const;
    };
    std::unique_ptr<unsigned char, Free> pixels_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace moonbrook::test
