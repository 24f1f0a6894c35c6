#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace kt {

// One argument of a format: integers, reals, characters, texts and identities, kept with their kind.
class KTFormatArg {
public:
    using Value = std::variant<long long, unsigned long long, double, std::string, const void*>;

    template <std::signed_integral T>
    KTFormatArg(T value) : value_(static_cast<long long>(value)) {}
    template <std::unsigned_integral T>
    KTFormatArg(T value) : value_(static_cast<unsigned long long>(value)) {}
    template <std::floating_point T>
    KTFormatArg(T value) : value_(static_cast<double>(value)) {}
    KTFormatArg(bool value) : value_(static_cast<long long>(value)) {}
    template <typename T>
    requires std::is_enum_v<T> KTFormatArg(T value)
        : KTFormatArg(static_cast<std::underlying_type_t<T>>(value)) {}
    KTFormatArg(std::string_view value) : value_(std::string(value)) {}
    KTFormatArg(const std::string& value) : value_(value) {}
    KTFormatArg(const char* value) : value_(std::string(value ? value : "(null)")) {}
    KTFormatArg(const void* value) : value_(value) {}

    const Value& value() const { return value_; }

private:
    Value value_;
};

// printf-style formatting where %@ inserts a text (or any argument's natural text); %i, %d, %u, %x, %X, %f,
// %c, %s, %p with flags, width and precision as in printf. Missing arguments format as nothing.
std::string KTFormatList(std::string_view format, std::initializer_list<KTFormatArg> args);

template <typename... Args>
std::string KTFormat(std::string_view format, const Args&... args) {
    return KTFormatList(format, {KTFormatArg(args)...});
}

}  // namespace kt
