#pragma once

#include <string>
#include <string_view>

namespace kt {

// Texts are UTF-8 everywhere; fonts index their glyphs by UTF-16 code unit. A malformed byte reads as the
// replacement character U+FFFD.
std::u16string KTUTF16FromUTF8(std::string_view text);
std::string KTUTF8FromUTF16(std::u16string_view text);

}  // namespace kt
