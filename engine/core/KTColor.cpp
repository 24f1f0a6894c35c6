#include "engine/core/KTColor.h"

#include <array>

namespace kt {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

std::uint8_t hexByte(std::string_view text, std::size_t at) {
    return static_cast<std::uint8_t>(hexDigit(text[at]) * 16 + hexDigit(text[at + 1]));
}

// A unit channel value back to 0..255: above 1 saturates, otherwise the integer part.
std::uint8_t channelFromUnit(float c) {
    if (c > 1.0f) return 255;
    return static_cast<std::uint8_t>(c * 255.0f);
}

template <typename Combine>
Color combineChannels(Color a, Color b, Combine combine) {
    const std::array<int, 4> shifts{24, 16, 8, 0};
    std::uint32_t rep = 0;
    for (int shift : shifts) {
        const float ca = static_cast<float>((a.rep >> shift) & 0xFFu) / 255.0f;
        const float cb = static_cast<float>((b.rep >> shift) & 0xFFu) / 255.0f;
        rep |= std::uint32_t{channelFromUnit(combine(ca, cb))} << shift;
    }
    return Color{rep};
}

}  // namespace

void KTConvertARGB2RGBA(std::uint32_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        pixels[i] = KTColorRGBA(Color{pixels[i]});
}

Color KTMakeColorFromCString(std::string_view text) {
    if (text.size() < 6) return kColorWhite;
    const std::uint8_t alpha = text.size() >= 8 ? hexByte(text, 6) : 0xFF;
    return KTColorFromChannels(alpha, hexByte(text, 0), hexByte(text, 2), hexByte(text, 4));
}

Color KTLerpColor(Color a, Color b, float t) {
    return combineChannels(a, b, [t](float ca, float cb) { return ca + (cb - ca) * t; });
}

Color KTMultColors(Color a, Color b) {
    return combineChannels(a, b, [](float ca, float cb) { return ca * cb; });
}

}  // namespace kt
