#pragma once

#include <chrono>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kt {

// One property-list value: none, string, integer, real, boolean, date, data, array or dictionary (keeping
// its keys in file order). Values are plain data: copies are independent and every container is mutable.
// Reading converts leniently, as the data files expect: intValue() of "12" is 12, boolValue() of 1 is true,
// and a lookup that finds nothing answers none, which reads as 0, false or "".
class KTPlist {
public:
    enum class Type { none, string, integer, real, boolean, date, data, array, dictionary };
    using Date = std::chrono::sys_seconds;
    using Data = std::vector<std::uint8_t>;
    using Array = std::vector<KTPlist>;
    using Entry = std::pair<std::string, KTPlist>;
    using Dictionary = std::vector<Entry>;

    KTPlist() = default;
    KTPlist(std::string text) : value_(std::move(text)) {}
    KTPlist(std::string_view text) : value_(std::string(text)) {}
    KTPlist(const char* text) : value_(std::string(text)) {}
    template <std::integral T>
    requires(!std::same_as<T, bool>) KTPlist(T number) : value_(static_cast<std::int64_t>(number)) {}
    template <std::floating_point T>
    KTPlist(T number) : value_(static_cast<double>(number)) {}
    KTPlist(bool flag) : value_(flag) {}
    KTPlist(Date date) : value_(date) {}
    KTPlist(Data bytes) : value_(std::move(bytes)) {}
    KTPlist(Array items) : value_(std::move(items)) {}
    KTPlist(Dictionary entries) : value_(std::move(entries)) {}

    static KTPlist emptyArray() { return KTPlist(Array{}); }
    static KTPlist emptyDictionary() { return KTPlist(Dictionary{}); }

    Type type() const { return static_cast<Type>(value_.index()); }
    bool isNone() const { return type() == Type::none; }
    bool isString() const { return type() == Type::string; }
    bool isNumber() const { return type() == Type::integer || type() == Type::real; }
    bool isArray() const { return type() == Type::array; }
    bool isDictionary() const { return type() == Type::dictionary; }

    // A string as it is, a number or boolean as its usual text, anything else "".
    std::string stringValue() const;
    // Numbers, booleans and the leading number of a string; 0 otherwise. Reals are truncated.
    std::int64_t intValue() const;
    double realValue() const;
    // Non-zero numbers, true, and strings starting with Y, y, T, t or a non-zero digit.
    bool boolValue() const;
    std::optional<Date> dateValue() const;
    const Data& dataValue() const;
    // Empty for other values.
    const Array& arrayValue() const;
    const Dictionary& dictionaryValue() const;
    // Turn any other value into an empty container first.
    Array& mutableArray();
    Dictionary& mutableDictionary();

    // Elements of an array or entries of a dictionary; 0 for other values.
    std::size_t size() const;

    // Dictionary access. The const lookup answers none for a missing key or a value that is no dictionary;
    // the mutable one makes the value a dictionary (see mutableDictionary) and adds a missing key.
    const KTPlist& operator[](std::string_view key) const;
    KTPlist& operator[](std::string_view key);
    bool contains(std::string_view key) const;
    void erase(std::string_view key);
    // Keys in order; empty for other values.
    std::vector<std::string> keys() const;

    // Array access: none out of range; append makes the value an array (see mutableArray).
    const KTPlist& at(std::size_t index) const;
    void append(KTPlist item);

    friend bool operator==(const KTPlist&, const KTPlist&) = default;

    // XML property list, version 1.0. Reading gives none for text that is no well-formed property list.
    static std::optional<KTPlist> fromXML(std::string_view xml);
    std::string toXML() const;
    // A missing file gives none silently; a damaged one gives none and is logged once with its path.
    static std::optional<KTPlist> readFile(const std::string& path);
    // Writes a temporary file next to the target, flushes it to disk and renames it over the target, so
    // the old file stays whole when anything fails. None values inside containers are left out; a value
    // that is none as a whole cannot be written.
    bool writeFile(const std::string& path) const;

private:
    std::variant<std::monostate, std::string, std::int64_t, double, bool, Date, Data, Array, Dictionary>
        value_;
};

}  // namespace kt
