#include "engine/core/KTPlist.h"

#include <algorithm>

#include "engine/core/KTFormat.h"
#include "engine/core/KTTextValues.h"

namespace kt {
namespace {

const KTPlist kNone;

template <typename Entries>
auto findEntry(Entries& entries, std::string_view key) {
    return std::find_if(entries.begin(), entries.end(),
                        [key](const auto& entry) { return entry.first == key; });
}

}  // namespace

std::string KTPlist::stringValue() const {
    switch (type()) {
        case Type::string:
            return std::get<std::string>(value_);
        case Type::integer:
            return std::to_string(std::get<std::int64_t>(value_));
        case Type::real:
            return KTFormat("%@", std::get<double>(value_));
        case Type::boolean:
            return std::get<bool>(value_) ? "1" : "0";
        default:
            return {};
    }
}

std::int64_t KTPlist::intValue() const {
    switch (type()) {
        case Type::string:
            return KTLeadingInteger(std::get<std::string>(value_));
        case Type::integer:
            return std::get<std::int64_t>(value_);
        case Type::real:
            return KTClampToInteger(std::get<double>(value_));
        case Type::boolean:
            return std::get<bool>(value_) ? 1 : 0;
        default:
            return 0;
    }
}

double KTPlist::realValue() const {
    switch (type()) {
        case Type::string:
            return KTLeadingReal(std::get<std::string>(value_));
        case Type::integer:
            return static_cast<double>(std::get<std::int64_t>(value_));
        case Type::real:
            return std::get<double>(value_);
        case Type::boolean:
            return std::get<bool>(value_) ? 1 : 0;
        default:
            return 0;
    }
}

bool KTPlist::boolValue() const {
    switch (type()) {
        case Type::string:
            return KTBoolFromText(std::get<std::string>(value_));
        case Type::integer:
            return std::get<std::int64_t>(value_) != 0;
        case Type::real:
            return std::get<double>(value_) != 0;
        case Type::boolean:
            return std::get<bool>(value_);
        default:
            return false;
    }
}

std::optional<KTPlist::Date> KTPlist::dateValue() const {
    if (const Date* date = std::get_if<Date>(&value_)) return *date;
    return std::nullopt;
}

const KTPlist::Data& KTPlist::dataValue() const {
    static const Data empty;
    const Data* data = std::get_if<Data>(&value_);
    return data ? *data : empty;
}

const KTPlist::Array& KTPlist::arrayValue() const {
    static const Array empty;
    const Array* items = std::get_if<Array>(&value_);
    return items ? *items : empty;
}

const KTPlist::Dictionary& KTPlist::dictionaryValue() const {
    static const Dictionary empty;
    const Dictionary* entries = std::get_if<Dictionary>(&value_);
    return entries ? *entries : empty;
}

KTPlist::Array& KTPlist::mutableArray() {
    if (!isArray()) value_ = Array{};
    return std::get<Array>(value_);
}

KTPlist::Dictionary& KTPlist::mutableDictionary() {
    if (!isDictionary()) value_ = Dictionary{};
    return std::get<Dictionary>(value_);
}

std::size_t KTPlist::size() const {
    if (isArray()) return arrayValue().size();
    return dictionaryValue().size();
}

const KTPlist& KTPlist::operator[](std::string_view key) const {
    const Dictionary& entries = dictionaryValue();
    const auto found = findEntry(entries, key);
    return found == entries.end() ? kNone : found->second;
}

KTPlist& KTPlist::operator[](std::string_view key) {
    Dictionary& entries = mutableDictionary();
    const auto found = findEntry(entries, key);
    if (found != entries.end()) return found->second;
    return entries.emplace_back(std::string(key), KTPlist()).second;
}

bool KTPlist::contains(std::string_view key) const {
    const Dictionary& entries = dictionaryValue();
    return findEntry(entries, key) != entries.end();
}

void KTPlist::erase(std::string_view key) {
    if (!isDictionary()) return;
    Dictionary& entries = std::get<Dictionary>(value_);
    const auto found = findEntry(entries, key);
    if (found != entries.end()) entries.erase(found);
}

std::vector<std::string> KTPlist::keys() const {
    std::vector<std::string> names;
    for (const Entry& entry : dictionaryValue())
        names.push_back(entry.first);
    return names;
}

const KTPlist& KTPlist::at(std::size_t index) const {
    const Array& items = arrayValue();
    return index < items.size() ? items[index] : kNone;
}

void KTPlist::append(KTPlist item) {
    mutableArray().push_back(std::move(item));
}

}  // namespace kt
