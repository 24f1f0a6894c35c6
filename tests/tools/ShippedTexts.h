#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/XMLElement.h"

namespace moonbrook::test {

// A text the game shows a player, as written in English: from a "text" attribute of a shipped scene or
// partial (with the rest of that element's attributes: font, box, line height), or from a string the code
// passes to KTLocalize or KTLocalizeFormat (no attributes: the code decides the node).
struct ShippedText {
    std::string origin;
    std::string text;
    kt::XMLAttributes attributes;

    bool fromCode() const { return attributes.empty(); }
    // The resource name of the font it is drawn with; empty for texts from code.
    std::string font() const;
};

// Every shipped text with a letter in it, in the built data tree below the content root and in the sources
// of the program below the source root, trimmed as the locales look texts up. The level editor's scenes are
// for designers and left out.
std::vector<ShippedText> shippedTexts(const std::filesystem::path& contentRoot,
                                      const std::filesystem::path& sourceRoot);

// The format placeholders ("%@", "%i", ...) of a text, in order.
std::vector<std::string> placeholders(std::string_view text);

}  // namespace moonbrook::test
