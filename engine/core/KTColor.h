#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kt {

// Packed 0xAARRGGBB colour; handed unchanged to the renderer as the vertex colour.
struct Color {
    std::uint32_t rep = 0xFFFFFFFF;

    constexpr std::uint8_t alpha() const { return static_cast<std::uint8_t>(rep >> 24); }
    constexpr std::uint8_t red() const { return static_cast<std::uint8_t>(rep >> 16); }
    constexpr std::uint8_t green() const { return static_cast<std::uint8_t>(rep >> 8); }
    constexpr std::uint8_t blue() const { return static_cast<std::uint8_t>(rep); }

    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kColorWhite{0xFFFFFFFF};

constexpr Color KTMakeColor(std::uint32_t value) {
    return Color{value};
}
constexpr Color KTColorFromChannels(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Color{(std::uint32_t{a} << 24) | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b};
}

// Swaps red and blue: 0xAARRGGBB becomes 0xAABBGGRR (bytes R, G, B, A in memory on little-endian machines).
constexpr std::uint32_t KTColorRGBA(Color c) {
    return (c.rep & 0xFF00FF00u) | ((c.rep >> 16) & 0xFFu) | ((c.rep & 0xFFu) << 16);
}
void KTConvertARGB2RGBA(std::uint32_t* pixels, std::size_t count);

// RRGGBB or RRGGBBAA hexadecimal text; shorter than six characters gives opaque white.
Color KTMakeColorFromCString(std::string_view text);
Color KTLerpColor(Color a, Color b, float t);
Color KTMultColors(Color a, Color b);

}  // namespace kt
