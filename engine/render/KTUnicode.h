#pragma once

#include <string>
#include <string_view>

namespace kt {

// Texts are UTF-8 everywhere; fonts index their glyphs by UTF-16 code unit. A malformed byte reads as the
// replacement character U+FFFD.
std::u16string KTUTF16FromUTF8(std::string_view text);
std::string KTUTF8FromUTF16(std::u16string_view text);

// Editing by whole characters (code points), so that a multi-byte character is never cut. The text is
// expected to be well-formed; a malformed byte counts as one character.
std::size_t KTUTF8Length(std::string_view text);
// The bytes of the first count characters.
std::string_view KTUTF8Prefix(std::string_view text, std::size_t count);
// Removes the last character, if any.
void KTUTF8RemoveLast(std::string& text);

}  // namespace kt
