#include "engine/core/KTTextValues.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kt {
namespace {

std::string_view withoutLeadingBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\n\r\f\v");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// from_chars takes no plus sign.
std::string_view withoutPlusSign(std::string_view text) {
    return !text.empty() && text.front() == '+' ? text.substr(1) : text;
}

}  // namespace

double KTLeadingReal(std::string_view text) {
    const std::string_view digits = withoutPlusSign(withoutLeadingBlanks(text));
    double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return result.ec == std::errc() ? value : 0;
}

std::int64_t KTLeadingInteger(std::string_view text) {
    const std::string_view digits = withoutPlusSign(withoutLeadingBlanks(text));
    std::int64_t value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        return digits.front() == '-' ? std::numeric_limits<std::int64_t>::min()
                                     : std::numeric_limits<std::int64_t>::max();
    }
    return result.ec == std::errc() ? value : 0;
}

bool KTBoolFromText(std::string_view text) {
    std::string_view rest = withoutLeadingBlanks(text);
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) rest.remove_prefix(1);
    while (!rest.empty() && rest.front() == '0')
        rest.remove_prefix(1);
    if (rest.empty()) return false;
    const char c = rest.front();
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

std::int64_t KTClampToInteger(double value) {
    if (std::isnan(value)) return 0;
    // 2^63 is the first double beyond the range; every smaller double converts exactly after truncation.
    constexpr double kLimit = 9223372036854775808.0;
    if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (value < -kLimit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::string_view KTTrimmed(std::string_view text) {
    constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
    const std::size_t begin = text.find_first_not_of(kWhiteSpace);
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(kWhiteSpace) + 1 - begin);
}

}  // namespace kt
