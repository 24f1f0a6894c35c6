// Checks the shipped languages against the texts a player reads: every text has a German and a French
// translation that keeps its placeholders, every character shown is in the font that draws it, and texts
// fit the boxes the screens give them in every language.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "engine/core/KTFormat.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTPlist.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTFont.h"
#include "engine/render/KTText.h"
#include "engine/render/KTUnicode.h"
#include "tests/tools/BuiltContentTest.h"
#include "tests/tools/ProgramSources.h"

namespace kt::test {
namespace {


// A text the game shows a player, as written in English: from a "text" attribute of a shipped scene or
// partial (with the rest of that element's attributes: font, box, line height), or from a string the code
// passes to KTLocalize or KTLocalizeFormat (no attributes: the code decides the node).
struct ShippedText {
    std::string origin;
    std::string text;
    XMLAttributes attributes;

    bool fromCode() const { return attributes.empty(); }
    // The resource name of the font it is drawn with; empty for texts from code.
    std::string font() const {
        if (fromCode()) return {};
        const std::string* font = attributes.find("font");
        return font ? *font : KTText::kDefaultFont;
    }
};

bool hasLetter(std::string_view text) {
    return std::ranges::any_of(text, [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

void addElementTexts(const XMLElement& element, const std::string& origin, std::vector<ShippedText>& texts) {
    if (const std::string* text = element.attribute("text"); text && hasLetter(*text))
        texts.push_back({origin, std::string(KTTrimmed(*text)), element.attributes()});
    for (const XMLElement& child : element.children())
        addElementTexts(child, origin, texts);
}

// String literals handed to the localising calls; the code keeps its player texts in such calls.
void addCodeTexts(std::vector<ShippedText>& texts) {
    static const std::regex localised(R"re(KTLocalize(?:Format)?\(\s*"((?:[^"\\]|\\.)*)")re");
    forEachProgramSource({"app", "engine", "game"}, [&](const std::string& name, const std::string& code) {
        for (auto match = std::sregex_iterator(code.begin(), code.end(), localised);
             match != std::sregex_iterator(); ++match)
            texts.push_back({name, (*match)[1].str(), {}});
    });
}

// The format placeholders ("%@", "%i", ...) of a text, in order.
std::vector<std::string> placeholders(const std::string& text) {
    static const std::regex placeholder("%[-+0-9.]*[@a-zA-Z%]");
    std::vector<std::string> found;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), placeholder);
         match != std::sregex_iterator(); ++match)
        found.push_back(match->str());
    return found;
}

constexpr const char* kLanguages[] = {"de", "fr"};
constexpr float kCentredLineMargin = 8;

std::string localeFile(const std::string& language) {
    return "data/locales/" + language + ".plist";
}

class TranslationsTest : public BuiltContentTest {
protected:
    // Every shipped text with a letter in it, in the built data tree and in the program's sources, trimmed as
    // the locales look texts up. The level editor's scenes are for designers and left out.
    TranslationsTest() {
        for (const std::string& name : filesBelow("data", ".xml")) {
            const auto root = XMLElement::fromFile((kRoot / name).string());
            if (root && name != "data/scenes/editor.sg.xml" && name != "data/scenes/editor_key.xml")
                addElementTexts(*root, name, texts_);
        }
        addCodeTexts(texts_);
    }

    // English first, then each translation made current in turn.
    template <typename Check>
    void inEveryLanguage(Check check) {
        KTLocale::setLocale("");
        check("en");
        for (const std::string language : kLanguages) {
            KTLocale::loadLocale(language, localeFile(language));
            KTLocale::setLocale(language);
            check(language);
        }
        KTLocale::setLocale("");
    }

    std::vector<ShippedText> texts_;
};

TEST_F(TranslationsTest, EveryTextHasATranslationKeepingItsPlaceholders) {
    ASSERT_GT(texts_.size(), 200u);
    ASSERT_TRUE(std::ranges::any_of(texts_, [](const ShippedText& text) { return text.fromCode(); }))
        << "no localised strings found in the program's sources";
    for (const std::string language : kLanguages) {
        const auto file = KTPlist::readFile((kRoot / localeFile(language)).string());
        ASSERT_TRUE(file) << language;
        const KTPlist& table = (*file)["strings"];
        std::string missing;
        std::string changed;
        for (const ShippedText& text : texts_) {
            const std::string translation = table[text.text].stringValue();
            if (KTTrimmed(translation).empty()) {
                missing += "\n  " + text.origin + ": \"" + text.text + "\"";
            } else if (placeholders(translation) != placeholders(text.text)) {
                changed += "\n  \"" + text.text + "\" -> \"" + translation + "\"";
            }
        }
        EXPECT_TRUE(missing.empty()) << language << " lacks translations of:" << missing;
        EXPECT_TRUE(changed.empty()) << language << " changes the placeholders of:" << changed;
    }
}

TEST_F(TranslationsTest, EveryCharacterShownIsInTheFontThatDrawsIt) {
    std::set<std::string> sceneFonts;
    for (const ShippedText& text : texts_)
        if (!text.fromCode()) sceneFonts.insert(text.font());
    inEveryLanguage([&](const std::string& language) {
        const auto locale = KTLocale::currentLocale();
        std::string lacking;
        for (const ShippedText& text : texts_) {
            const std::string shown = KTLocalize(text.text);
            // The code may put its texts into any node, so they must suit every font.
            for (const std::string& font :
                 text.fromCode() ? sceneFonts : std::set<std::string>{text.font()}) {
                const std::string drawnWith = locale ? locale->substituteFont(font) : font;
                const auto bitmapFont = KTResourceManager::shared().getFont(drawnWith);
                ASSERT_TRUE(bitmapFont) << drawnWith;
                for (const char16_t unit : KTUTF16FromUTF8(shown)) {
                    if (!bitmapFont->getGlyphForChar(unit)) {
                        lacking += "\n  character " + std::to_string(static_cast<int>(unit)) + " in " +
                                   drawnWith + ": \"" + shown + "\" (" + text.origin + ")";
                    }
                }
            }
        }
        EXPECT_TRUE(lacking.empty()) << language << ": characters without a glyph:" << lacking;
    });
}

TEST_F(TranslationsTest, TextsFitTheirBoxesInEveryLanguage) {
    inEveryLanguage([&](const std::string& language) {
        std::string overflowing;
        for (const ShippedText& text : texts_) {
            const std::string* width = text.attributes.find("w");
            if (!width || KTLeadingReal(*width) <= 0) continue;
            const auto node = std::make_shared<KTText>();
            node->setAttributes(text.attributes);
            ASSERT_TRUE(node->font()) << text.font();
            const bool wrapped = node->lineHeight() > 0;
            const std::vector<std::string> lines =
                wrapped ? node->lines() : std::vector<std::string>{node->text()};
            float widest = 0;
            for (const std::string& line : lines)
                widest = std::max(widest, node->font()->width(line));
            const float height = static_cast<float>(lines.size()) * node->lineHeight();
            // A centred line keeps clear of the box's ends, where buttons and tags round off.
            const bool centredLine = !wrapped && node->align() == KTTextAlign::center;
            const float room = node->w() - (centredLine ? kCentredLineMargin : 0);
            if (widest > room || (wrapped && node->h() > 0 && height > node->h())) {
                overflowing += KTFormat("\n  %@: \"%@\" is %.0f x %.0f px in %.0f x %.0f", text.origin,
                                        node->text(), widest, height, node->w(), node->h());
            }
        }
        EXPECT_TRUE(overflowing.empty()) << language << ": texts larger than their boxes:" << overflowing;
    });
}

}  // namespace
}  // namespace kt::test
