#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace moonbrook::tools {

struct FontColor {
    std::uint8_t r = 255;
    std::uint8_t g = 255;
    std::uint8_t b = 255;
};

// How one bitmap font looks: the outline font it is drawn from, its pixel size, a fill shading from the top
// of the line to the bottom, and an optional outline around every glyph.
struct FontStyle {
    std::string fontPath;
    int pixelSize = 20;
    FontColor fillTop;
    FontColor fillBottom;
    FontColor outline;
    float outlineWidth = 0.0f;
    std::vector<char32_t> characters;
};

// Printable ASCII, the Latin-1 letters and the French ligatures, quotes, dashes and spaces: enough for the
// game's languages.
std::vector<char32_t> latinCharacters();
// The Latin characters and the basic Greek and Cyrillic alphabets, for players' names in those scripts.
std::vector<char32_t> textCharacters();

// Renders every character the font has into one page picture and writes the XML font description next to it
// (page "<name>.png" for "<name>.xml"): "pages", "chars" and "kernings". Each char's "xadvance" includes its
// "xoffset", because the text drawing moves the pen by xadvance - xoffset. Answers what went wrong, or none.
std::optional<std::string> generateFont(const FontStyle& style, const std::string& xmlPath);

// Parses "#rrggbb" or "rrggbb"; none for anything else.
std::optional<FontColor> parseFontColor(const std::string& text);

}  // namespace moonbrook::tools
