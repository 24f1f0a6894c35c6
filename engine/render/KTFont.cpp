#include "engine/render/KTFont.h"

#include <cmath>

#include "engine/core/KTLog.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/core/XMLElement.h"
#include "engine/render/KTImageData.h"
#include "engine/render/KTUnicode.h"

namespace kt {
namespace {

float number(const XMLElement& element, std::string_view name) {
    const std::string* value = element.attribute(name);
    return value ? static_cast<float>(KTLeadingReal(*value)) : 0;
}

int integer(const XMLElement& element, std::string_view name) {
    const std::string* value = element.attribute(name);
    return value ? static_cast<int>(KTClampToInteger(KTLeadingReal(*value))) : 0;
}

std::string text(const XMLElement& element, std::string_view name) {
    const std::string* value = element.attribute(name);
    return value ? *value : std::string();
}

float unit(float pixels, float pageLength) {
    return pageLength > 0 ? pixels / pageLength : 0;
}

}  // namespace

KTGlyph::KTGlyph(int charId, std::shared_ptr<KTImageData> page, const CGRect& pixelRect, float xoffset,
                 float yoffset, float xadvance)
    : charId_(charId),
      page_(std::move(page)),
      size_(pixelRect.size),
      xoffset_(xoffset),
      yoffset_(yoffset),
      xadvance_(xadvance) {
    const CGSize pageSize = page_ ? page_->size() : CGSizeZero;
    trect_ = {{unit(pixelRect.origin.x, pageSize.width), unit(pixelRect.origin.y, pageSize.height)},
              {unit(pixelRect.size.width, pageSize.width), unit(pixelRect.size.height, pageSize.height)}};
}

float KTGlyph::getKerningForNext(int next) const {
    for (const Kerning& entry : kerning_) {
        if (entry.next == next) return entry.amount;
    }
    return 0;
}

void KTGlyph::addKerning(float amount, int next) {
    if (kerning_.size() >= kMaxKerning) {
        KTLog("MAX_KERNING reached!");
        return;
    }
    kerning_.push_back({next, amount});
}

std::shared_ptr<KTFont> KTFont::fontFromFile(const std::string& path) {
    const auto root = KTResourceManager::shared().getXML(path, true);
    if (!root) return nullptr;
    const std::size_t slash = path.find_last_of('/');
    auto font = std::make_shared<KTFont>();
    font->loadFromXMLElement(*root, slash == std::string::npos ? std::string() : path.substr(0, slash));
    return font;
}

void KTFont::loadFromXMLElement(const XMLElement& root, const std::string& directory) {
    const std::string prefix = directory.empty() ? std::string() : directory + "/";
    if (const XMLElement* pages = root.childNamed("pages")) {
        for (const XMLElement& page : pages->children()) {
            if (page.name() != "page") continue;
            pages_[integer(page, "id")] =
                KTResourceManager::shared().getImage(prefix + text(page, "file"), true);
        }
    }
    if (const XMLElement* chars = root.childNamed("chars")) {
        for (const XMLElement& glyph : chars->children()) {
            if (glyph.name() != "char") continue;
            const auto page = pages_.find(integer(glyph, "page"));
            const int code = integer(glyph, "id");
            glyphIndex_.try_emplace(code, glyphs_.size());
            glyphs_.emplace_back(code, page == pages_.end() ? nullptr : page->second,
                                 CGRect{{number(glyph, "x"), number(glyph, "y")},
                                        {number(glyph, "width"), number(glyph, "height")}},
                                 number(glyph, "xoffset"), number(glyph, "yoffset"),
                                 number(glyph, "xadvance"));
        }
    }
    if (const XMLElement* kernings = root.childNamed("kernings")) {
        for (const XMLElement& kerning : kernings->children()) {
            if (kerning.name() != "kerning") continue;
            const auto first = glyphIndex_.find(integer(kerning, "first"));
            if (first == glyphIndex_.end()) continue;
            glyphs_[first->second].addKerning(number(kerning, "amount"), integer(kerning, "second"));
        }
    }
}

const KTGlyph* KTFont::getGlyphForChar(int code) const {
    const auto found = glyphIndex_.find(code);
    return found == glyphIndex_.end() ? nullptr : &glyphs_[found->second];
}

float KTFont::width(std::string_view text) const {
    const std::u16string units = KTUTF16FromUTF8(text);
    float width = 0;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const KTGlyph* glyph = getGlyphForChar(units[i]);
        if (!glyph) continue;
        width += glyph->xadvance() - glyph->xoffset();
        if (i + 1 < units.size()) width += glyph->getKerningForNext(units[i + 1]);
    }
    return width;
}

// The pen moves by the advance less the offset: the files' advances include the offset of the character.
void KTFont::draw(KTRenderer& renderer, std::string_view text, CGPoint pen) const {
    const std::u16string units = KTUTF16FromUTF8(text);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const KTGlyph* glyph = getGlyphForChar(units[i]);
        if (!glyph) continue;
        renderer.setImageData(glyph->page().get(), glyph->trect());
        CGRect rect = glyph->getRect(pen);
        rect.origin = {std::round(rect.origin.x), std::round(rect.origin.y)};
        renderer.drawRect(rect);
        pen.x += glyph->xadvance() - glyph->xoffset();
        if (i + 1 < units.size()) pen.x += glyph->getKerningForNext(units[i + 1]);
    }
}

std::string KTFont::filterString(std::string_view text) const {
    std::u16string units = KTUTF16FromUTF8(text);
    std::erase_if(units, [this](char16_t unit) { return !getGlyphForChar(unit); });
    return KTUTF8FromUTF16(units);
}

}  // namespace kt
