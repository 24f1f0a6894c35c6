#pragma once

#include <string_view>

namespace moonbrook {

// Ball types are letters; the board's ghost placeholder is '0'.
constexpr char16_t kGhostBall = u'0';

// The ball type that a data file names by the first character of a text; nothing for an empty text.
inline char16_t ballLetterOf(std::string_view text) {
    return text.empty() ? u'\0' : static_cast<char16_t>(static_cast<unsigned char>(text.front()));
}

}  // namespace moonbrook
