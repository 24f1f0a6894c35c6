#pragma once

#include <string_view>
#include <utility>

namespace moonbrook {

// Spaces, tabs and line ends.
inline constexpr std::string_view kBlanks = " \t\r\n";

inline bool isBlank(char c) {
    return kBlanks.find(c) != std::string_view::npos;
}

std::string_view trimmed(std::string_view text);
// The first word of the text, and the trimmed text after it; an empty word when there is none.
std::pair<std::string_view, std::string_view> splitFirstWord(std::string_view text);

}  // namespace moonbrook
