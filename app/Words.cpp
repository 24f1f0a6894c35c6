#include "app/Words.h"

#include <algorithm>

namespace moonbrook {

std::string_view trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(kBlanks) + 1 - begin);
}

std::pair<std::string_view, std::string_view> splitFirstWord(std::string_view text) {
    text = trimmed(text);
    const std::size_t end = std::min(text.find_first_of(kBlanks), text.size());
    return {text.substr(0, end), trimmed(text.substr(end))};
}

}  // namespace moonbrook
