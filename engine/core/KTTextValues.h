#pragma once

#include <cstdint>
#include <string_view>

namespace kt {

// How data files spell numbers and switches. Leading blanks are skipped and reading stops at the first
// character that does not fit; a text without a number reads as 0.
double KTLeadingReal(std::string_view text);
std::int64_t KTLeadingInteger(std::string_view text);
// True for texts starting with Y, y, T, t or a non-zero digit (YES, true, 1), after blanks, a sign and
// leading zeros; NO, false, 0 and the empty text are false.
bool KTBoolFromText(std::string_view text);
// The text without white space at either end.
std::string_view KTTrimmed(std::string_view text);
// A real as an integer, truncated towards zero and held inside the integer range (NaN gives 0).
std::int64_t KTClampToInteger(double value);

}  // namespace kt
