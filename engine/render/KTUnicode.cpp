#include "engine/render/KTUnicode.h"

#include <cstdint>

namespace kt {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point starting at text[at]; advances at past it.
char32_t decodeUTF8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<std::uint8_t>(text[at++]);
    if (lead < 0x80) return lead;
    std::size_t length = 0;
    char32_t point = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1;
        point = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2;
        point = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3;
        point = lead & 0x07u;
    } else {
        return kReplacement;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (at >= text.size() || (static_cast<std::uint8_t>(text[at]) & 0xC0) != 0x80) return kReplacement;
        point = (point << 6) | (static_cast<std::uint8_t>(text[at++]) & 0x3Fu);
    }
    const bool overlong =
        (length == 1 && point < 0x80) || (length == 2 && point < 0x800) || (length == 3 && point < 0x10000);
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return overlong || surrogate || point > 0x10FFFF ? kReplacement : point;
}

void appendUTF8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

bool isContinuation(char byte) {
    return (static_cast<std::uint8_t>(byte) & 0xC0) == 0x80;
}

}  // namespace

std::u16string KTUTF16FromUTF8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t point = decodeUTF8(text, at);
        if (point < 0x10000) {
            out += static_cast<char16_t>(point);
        } else {
            out += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string KTUTF8FromUTF16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t point = text[i];
        const bool high = point >= 0xD800 && point <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            point = 0x10000 + ((point - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (point >= 0xD800 && point <= 0xDFFF) {
            point = kReplacement;
        }
        appendUTF8(out, point);
    }
    return out;
}

std::size_t KTUTF8Length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count)
        decodeUTF8(text, at);
    return count;
}

std::string_view KTUTF8Prefix(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < count && at < text.size(); ++i)
        decodeUTF8(text, at);
    return text.substr(0, at);
}

void KTUTF8RemoveLast(std::string& text) {
    while (!text.empty() && isContinuation(text.back()))
        text.pop_back();
    if (!text.empty()) text.pop_back();
}

}  // namespace kt
