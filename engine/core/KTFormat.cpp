#include "engine/core/KTFormat.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace kt {
namespace {

constexpr std::string_view kFlagsWidthPrecision = "-+ #0123456789.";
constexpr std::string_view kLengthModifiers = "hlLqjzt";
// Formats also come from data files (translations); wider fields or longer precisions are typing mistakes
// that must not ask for gigabytes.
constexpr unsigned kLargestFieldSize = 256;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The conversion's flags, width and precision, with a width or precision above the largest field size brought
// down to it.
std::string boundedFieldSizes(const std::string& directive) {
    std::string out;
    for (std::size_t i = 0; i < directive.size();) {
        if (!isDigit(directive[i])) {
            out += directive[i++];
            continue;
        }
        const std::size_t start = i;
        while (i < directive.size() && isDigit(directive[i]))
            ++i;
        const std::string_view digits(directive.data() + start, i - start);
        unsigned size = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), size);
        const bool fits = result.ec == std::errc() && size <= kLargestFieldSize;
        out += fits ? std::string(digits) : std::to_string(kLargestFieldSize);
    }
    return out;
}

template <typename T>
std::string printfText(const std::string& directive, T value) {
    const int size = std::snprintf(nullptr, 0, directive.c_str(), value);
    if (size <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
    std::snprintf(buffer.data(), buffer.size(), directive.c_str(), value);
    return std::string(buffer.data(), static_cast<std::size_t>(size));
}

// The shortest text that reads back as the same number, without a trailing ".0" for whole numbers.
std::string naturalText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string naturalText(const KTFormatArg::Value& value) {
    struct Visitor {
        std::string operator()(long long v) const { return std::to_string(v); }
        std::string operator()(unsigned long long v) const { return std::to_string(v); }
        std::string operator()(double v) const { return naturalText(v); }
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(const void* v) const { return printfText("%p", v); }
    };
    return std::visit(Visitor{}, value);
}

long long asInteger(const KTFormatArg::Value& value) {
    if (const auto* v = std::get_if<long long>(&value)) return *v;
    if (const auto* v = std::get_if<unsigned long long>(&value)) return static_cast<long long>(*v);
    if (const auto* v = std::get_if<double>(&value)) return static_cast<long long>(*v);
    return 0;
}

double asReal(const KTFormatArg::Value& value) {
    if (const auto* v = std::get_if<double>(&value)) return *v;
    return static_cast<double>(asInteger(value));
}

// Formats one conversion; directive holds the flags, width and precision with '%' in front and no length modifier.
std::string convert(std::string directive, char conversion, const KTFormatArg::Value& value) {
    switch (conversion) {
        case 'd':
        case 'i':
            return printfText(directive + "lld", asInteger(value));
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            return printfText(directive + "ll" + conversion, static_cast<unsigned long long>(asInteger(value)));
        case 'c':
            return printfText(directive + "c", static_cast<int>(asInteger(value)));
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            return printfText(directive + conversion, asReal(value));
        case 's':
            return printfText(directive + "s", naturalText(value).c_str());
        case 'p':
            return printfText(directive + "p", std::holds_alternative<const void*>(value)
                                              ? std::get<const void*>(value)
                                              : nullptr);
        default:
            return naturalText(value);
    }
}

}  // namespace

std::string KTFormatList(std::string_view format, std::initializer_list<KTFormatArg> args) {
    std::string out;
    out.reserve(format.size() + 16);
    const KTFormatArg* next = args.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i++];
        if (c != '%' || i >= format.size()) {
            out += c;
            continue;
        }
        if (format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::string directive = "%";
        while (i < format.size() && kFlagsWidthPrecision.find(format[i]) != std::string_view::npos)
            directive += format[i++];
        while (i < format.size() && kLengthModifiers.find(format[i]) != std::string_view::npos)
            ++i;
        if (i >= format.size()) break;
        const char conversion = format[i++];
        if (next == args.end()) continue;
        const KTFormatArg::Value& value = (next++)->value();
        out += conversion == '@' ? naturalText(value) : convert(boundedFieldSizes(directive), conversion, value);
    }
    return out;
}

}  // namespace kt
