#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/core/KTGeometry.h"

namespace kt {

class KTImageData;
class KTRenderer;
class XMLElement;

// One character of a bitmap font: its rectangle on a page, its placement against the pen, its advance and
// the kerning against the characters that may follow it.
class KTGlyph {
public:
    static constexpr std::size_t kMaxKerning = 256;

    KTGlyph(int charId, std::shared_ptr<KTImageData> page, const CGRect& pixelRect, float xoffset,
            float yoffset, float xadvance);

    int charId() const { return charId_; }
    const std::shared_ptr<KTImageData>& page() const { return page_; }
    // The rectangle in unit coordinates of the page.
    const CGRect& trect() const { return trect_; }
    float xoffset() const { return xoffset_; }
    float yoffset() const { return yoffset_; }
    float xadvance() const { return xadvance_; }
    // Where the character's rectangle lies for the pen position.
    CGRect getRect(CGPoint pen) const { return {{pen.x + xoffset_, pen.y + yoffset_}, size_}; }

    // The first entry for the code, else 0.
    float getKerningForNext(int next) const;
    // Entries past the limit are dropped and logged.
    void addKerning(float amount, int next);

private:
    struct Kerning {
        int next;
        float amount;
    };

    int charId_;
    std::shared_ptr<KTImageData> page_;
    CGRect trect_;
    CGSize size_;
    float xoffset_;
    float yoffset_;
    float xadvance_;
    std::vector<Kerning> kerning_;
};

// A bitmap font read from an XML description: "pages" of images, "chars" placed on them and "kernings"
// between pairs. A string is drawn on one line from the pen; characters without a glyph take no space.
class KTFont {
public:
    // Through the resource manager's cache of parsed files; none when the file cannot be read.
    static std::shared_ptr<KTFont> fontFromFile(const std::string& path);
    // Page files are relative to the folder of the font file.
    void loadFromXMLElement(const XMLElement& root, const std::string& directory);

    // The first glyph of the code in file order, or none.
    const KTGlyph* getGlyphForChar(int code) const;
    float width(std::string_view text) const;
    void draw(KTRenderer& renderer, std::string_view text, CGPoint pen) const;
    // The text without the characters that have no glyph.
    std::string filterString(std::string_view text) const;

    const std::vector<KTGlyph>& glyphs() const { return glyphs_; }

private:
    std::unordered_map<int, std::shared_ptr<KTImageData>> pages_;
    std::vector<KTGlyph> glyphs_;
    std::unordered_map<int, std::size_t> glyphIndex_;
};

}  // namespace kt
