#include "tools/content/FontGenerator.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/core/KTFormat.h"
#include "tools/content/RectanglePacker.h"
#include "tools/content/RgbaImage.h"

namespace moonbrook::tools {

namespace {

constexpr int kGlyphPadding = 2;
// A glyph carries at most this many kerning pairs; the font reader drops the rest.
constexpr std::size_t kMaxKerningsPerGlyph = 256;

struct RenderedGlyph {
    char32_t code = 0;
    FT_UInt index = 0;
    RgbaImage image;
    int xoffset = 0;
    int yoffset = 0;
    int advance = 0;
};

struct Coverage {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> alpha;

    std::uint8_t at(int x, int y) const {
        const int column = x - left;
        const int row = top - y;
        if (column < 0 || row < 0 || column >= width || row >= rows) return 0;
        return alpha[static_cast<std::size_t>(row) * width + column];
    }
};

using FreeTypeLibrary = std::unique_ptr<FT_LibraryRec_, decltype(&FT_Done_FreeType)>;
using FreeTypeFace = std::unique_ptr<FT_FaceRec_, decltype(&FT_Done_Face)>;
using FreeTypeStroker = std::unique_ptr<FT_StrokerRec_, decltype(&FT_Stroker_Done)>;

// Renders a copy of the glyph, stroked first when a stroker is given; the coverage's y grows upwards.
Coverage renderCoverage(FT_Glyph glyph, FT_Stroker stroker) {
    FT_Glyph copy = nullptr;
    Coverage coverage;
    if (FT_Glyph_Copy(glyph, &copy) != 0) return coverage;
    if ((!stroker || FT_Glyph_StrokeBorder(&copy, stroker, 0, 1) == 0) &&
        FT_Glyph_To_Bitmap(&copy, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0) {
        const auto* bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(copy);
        const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
        coverage.left = bitmapGlyph->left;
        coverage.top = bitmapGlyph->top;
        coverage.width = static_cast<int>(bitmap.width);
        coverage.rows = static_cast<int>(bitmap.rows);
        coverage.alpha.resize(static_cast<std::size_t>(coverage.width) * coverage.rows);
        for (int row = 0; row < coverage.rows; ++row) {
            const std::uint8_t* source = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
            std::copy_n(source, coverage.width,
                        coverage.alpha.begin() + static_cast<std::ptrdiff_t>(row) * coverage.width);
        }
    }
    FT_Done_Glyph(copy);
    return coverage;
}

std::uint8_t mix(std::uint8_t from, std::uint8_t to, float t) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
}

// The fill drawn over the outline, both given as coverage; colours are not premultiplied.
void paintPixel(std::uint8_t* out, FontColor fill, float fillAlpha, FontColor outline, float outlineAlpha) {
    const float alpha = fillAlpha + outlineAlpha * (1.0f - fillAlpha);
    if (alpha <= 0.0f) return;
    const float outlineShare = outlineAlpha * (1.0f - fillAlpha) / alpha;
    out[0] = mix(fill.r, outline.r, outlineShare);
    out[1] = mix(fill.g, outline.g, outlineShare);
    out[2] = mix(fill.b, outline.b, outlineShare);
    out[3] = static_cast<std::uint8_t>(std::lround(alpha * 255.0f));
}

class GlyphRenderer {
public:
    GlyphRenderer(const FontStyle& style, FT_Face face, FT_Stroker stroker)
        : style_(style), face_(face), stroker_(stroker) {
        outlinePixels_ = static_cast<int>(std::ceil(style.outlineWidth));
        ascender_ = static_cast<int>(face->size->metrics.ascender >> 6) + outlinePixels_;
        lineHeight_ = static_cast<int>(face->size->metrics.height >> 6) + 2 * outlinePixels_;
    }

    int lineHeight() const { return lineHeight_; }
    int base() const { return ascender_; }

    std::optional<RenderedGlyph> render(char32_t code) const {
        const FT_UInt index = glyphIndex(code);
        if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP) != 0) return std::nullopt;
        FT_Glyph glyph = nullptr;
        if (FT_Get_Glyph(face_->glyph, &glyph) != 0) return std::nullopt;
        const Coverage fill = renderCoverage(glyph, nullptr);
        const Coverage outline = stroker_ ? renderCoverage(glyph, stroker_) : Coverage{};
        FT_Done_Glyph(glyph);

        RenderedGlyph result{code, index, {}, 0, 0, 0};
        result.advance = static_cast<int>(std::lround(face_->glyph->advance.x / 64.0)) + outlinePixels_;
        const bool hasOutline = outline.width > 0 && outline.rows > 0;
        const int left = hasOutline ? std::min(fill.left, outline.left) : fill.left;
        const int top = hasOutline ? std::max(fill.top, outline.top) : fill.top;
        const int right = hasOutline ? std::max(fill.left + fill.width, outline.left + outline.width)
                                     : fill.left + fill.width;
        const int bottom =
            hasOutline ? std::min(fill.top - fill.rows, outline.top - outline.rows) : fill.top - fill.rows;
        if (right <= left || top <= bottom) return result;

        result.image = RgbaImage(right - left, top - bottom);
        for (int row = 0; row < result.image.height; ++row) {
            const int y = top - row;
            const float shade = std::clamp(static_cast<float>(ascender_ - y) / lineHeight_, 0.0f, 1.0f);
            const FontColor fillColor{mix(style_.fillTop.r, style_.fillBottom.r, shade),
                                      mix(style_.fillTop.g, style_.fillBottom.g, shade),
                                      mix(style_.fillTop.b, style_.fillBottom.b, shade)};
            for (int column = 0; column < result.image.width; ++column) {
                const int x = left + column;
                paintPixel(result.image.pixel(column, row), fillColor, fill.at(x, y) / 255.0f, style_.outline,
                           outline.at(x, y) / 255.0f);
            }
        }
        result.xoffset = left + outlinePixels_;
        result.yoffset = ascender_ - top;
        return result;
    }

private:
    // A no-break space differs from the plain space only where lines may break, so a face without one
    // lends its plain space.
    FT_UInt glyphIndex(char32_t code) const {
        const FT_UInt index = FT_Get_Char_Index(face_, code);
        if (index != 0 || (code != U'\u00A0' && code != U'\u202F')) return index;
        return FT_Get_Char_Index(face_, U' ');
    }

    const FontStyle& style_;
    FT_Face face_;
    FT_Stroker stroker_;
    int outlinePixels_ = 0;
    int ascender_ = 0;
    int lineHeight_ = 0;
};

std::string kerningsXML(FT_Face face, const std::vector<RenderedGlyph>& glyphs) {
    std::string xml;
    if (!FT_HAS_KERNING(face)) return xml;
    for (const RenderedGlyph& first : glyphs) {
        std::size_t count = 0;
        for (const RenderedGlyph& second : glyphs) {
            FT_Vector delta{0, 0};
            if (FT_Get_Kerning(face, first.index, second.index, FT_KERNING_DEFAULT, &delta) != 0) continue;
            const long amount = std::lround(delta.x / 64.0);
            if (amount == 0 || count == kMaxKerningsPerGlyph) continue;
            ++count;
            xml +=
                kt::KTFormat("    <kerning first=\"%u\" second=\"%u\" amount=\"%i\"/>\n",
                             static_cast<unsigned>(first.code), static_cast<unsigned>(second.code), amount);
        }
    }
    return xml;
}

std::string fontXML(const FontStyle& style, const GlyphRenderer& renderer, const std::string& pageName,
                    const PackedPage& page, const std::vector<RenderedGlyph>& glyphs,
                    const std::string& kernings) {
    std::string xml = "<?xml version=\"1.0\"?>\n<font>\n";
    xml += kt::KTFormat("  <info face=\"%@\" size=\"%i\"/>\n",
                        std::filesystem::path(style.fontPath).filename().string(), style.pixelSize);
    xml += kt::KTFormat("  <common lineHeight=\"%i\" base=\"%i\" scaleW=\"%i\" scaleH=\"%i\" pages=\"1\"/>\n",
                        renderer.lineHeight(), renderer.base(), page.width, page.height);
    xml += kt::KTFormat("  <pages>\n    <page id=\"0\" file=\"%@\"/>\n  </pages>\n", pageName);
    xml += kt::KTFormat("  <chars count=\"%u\">\n", static_cast<unsigned>(glyphs.size()));
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const RenderedGlyph& glyph = glyphs[i];
        const PackedRectangle& rect = page.rectangles[i];
        xml += kt::KTFormat(
            "    <char id=\"%u\" x=\"%i\" y=\"%i\" width=\"%i\" height=\"%i\" xoffset=\"%i\" yoffset=\"%i\" "
            "xadvance=\"%i\" page=\"0\"/>\n",
            static_cast<unsigned>(glyph.code), rect.x, rect.y, rect.width, rect.height, glyph.xoffset,
            glyph.yoffset, glyph.advance + glyph.xoffset);
    }
    xml += "  </chars>\n";
    if (!kernings.empty()) xml += "  <kernings>\n" + kernings + "  </kernings>\n";
    xml += "</font>\n";
    return xml;
}

}  // namespace

std::vector<char32_t> latinCharacters() {
    std::vector<char32_t> characters;
    for (char32_t code = 32; code < 127; ++code)
        characters.push_back(code);
    for (char32_t code = 160; code < 256; ++code)
        characters.push_back(code);
    // The French ligatures and the punctuation of German and French typesetting: dashes, quotes, the
    // ellipsis and the narrow no-break space.
    for (const char32_t code : {U'\u0152', U'\u0153', U'\u0178', U'\u2013', U'\u2014', U'\u2018', U'\u2019',
                                U'\u201A', U'\u201C', U'\u201D', U'\u201E', U'\u2026', U'\u202F'})
        characters.push_back(code);
    return characters;
}

std::vector<char32_t> textCharacters() {
    std::vector<char32_t> characters = latinCharacters();
    for (char32_t code = 0x391; code <= 0x3C9; ++code)
        characters.push_back(code);
    for (char32_t code = 0x400; code <= 0x45F; ++code)
        characters.push_back(code);
    return characters;
}

std::optional<FontColor> parseFontColor(const std::string& text) {
    const std::string digits = text.starts_with('#') ? text.substr(1) : text;
    if (digits.size() != 6 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return std::nullopt;
    }
    const unsigned long value = std::stoul(digits, nullptr, 16);
    return FontColor{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value)};
}

std::optional<std::string> generateFont(const FontStyle& style, const std::string& xmlPath) {
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) return "cannot start FreeType";
    const FreeTypeLibrary library(rawLibrary, FT_Done_FreeType);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), style.fontPath.c_str(), 0, &rawFace) != 0) {
        return "cannot read the font " + style.fontPath;
    }
    const FreeTypeFace face(rawFace, FT_Done_Face);
    if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(style.pixelSize)) != 0) {
        return "the font " + style.fontPath + " has no size " + std::to_string(style.pixelSize);
    }
    FT_Stroker rawStroker = nullptr;
    if (style.outlineWidth > 0.0f && FT_Stroker_New(library.get(), &rawStroker) != 0) return "no stroker";
    const FreeTypeStroker stroker(rawStroker, FT_Stroker_Done);
    if (stroker) {
        FT_Stroker_Set(stroker.get(), static_cast<FT_Fixed>(style.outlineWidth * 64.0f),
                       FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);
    }

    const GlyphRenderer renderer(style, face.get(), stroker.get());
    std::vector<RenderedGlyph> glyphs;
    std::vector<PackSize> sizes;
    for (const char32_t code : style.characters) {
        if (auto glyph = renderer.render(code)) {
            sizes.push_back({glyph->image.width, glyph->image.height});
            glyphs.push_back(std::move(*glyph));
        }
    }
    const auto page = packRectangles(sizes, kGlyphPadding);
    if (!page) return "the glyphs do not fit one page";
    RgbaImage pageImage(page->width, page->height);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        pageImage.copyFrom(glyphs[i].image, page->rectangles[i].x, page->rectangles[i].y);
    }
    const std::filesystem::path xmlFile(xmlPath);
    const std::string pageName = xmlFile.stem().string() + ".png";
    if (!pageImage.savePng((xmlFile.parent_path() / pageName).string())) return "cannot write " + pageName;
    std::ofstream out(xmlPath, std::ios::binary | std::ios::trunc);
    out << fontXML(style, renderer, pageName, *page, glyphs, kerningsXML(face.get(), glyphs));
    if (!out.flush()) return "cannot write " + xmlPath;
    return std::nullopt;
}

}  // namespace moonbrook::tools
