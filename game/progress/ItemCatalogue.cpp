#include "game/progress/ItemCatalogue.h"

#include <algorithm>

#include "engine/core/KTLog.h"
#include "game/ContentFile.h"

namespace moonbrook {

namespace {

// An item list whose entries are all strings; none otherwise.
std::optional<std::vector<std::string>> stringsOf(const kt::KTPlist& list) {
    if (!list.isArray()) return std::nullopt;
    std::vector<std::string> strings;
    for (const kt::KTPlist& entry : list.arrayValue()) {
        if (!entry.isString()) return std::nullopt;
        strings.push_back(entry.stringValue());
    }
    return strings;
}

template <typename Groups>
auto findGroup(Groups& groups, std::string_view base) {
    return std::ranges::find_if(groups, [base](const auto& group) { return group.first == base; });
}

}  // namespace

ItemCatalogue::ItemCatalogue() {
    readPrices();
    readOrder();
    if (prices_.size() == 0 || order_.empty()) {
        prices_ = kt::KTPlist::emptyDictionary();
        order_.clear();
    }
    groupVariants();
    kt::KTLog("items: %i variants of %i items", prices_.size(), order_.size());
}

std::string_view ItemCatalogue::baseName(std::string_view key) {
    return key.substr(0, key.find('_'));
}

void ItemCatalogue::readPrices() {
    const auto file = readContentFile(kPricesFile);
    if (!file) return;
    const bool wellFormed = file->isDictionary() && std::ranges::all_of(file->dictionaryValue(), [](const auto& entry) {
                                return entry.second.isDictionary();
                            });
    if (wellFormed)
        prices_ = *file;
    else
        logUnexpectedContent(kPricesFile, "not a dictionary of item prices");
}

void ItemCatalogue::readOrder() {
    const auto file = readContentFile(kOrderFile);
    if (!file) return;
    if (auto names = stringsOf(*file))
        order_ = std::move(*names);
    else
        logUnexpectedContent(kOrderFile, "not a list of item names");
}

void ItemCatalogue::groupVariants() {
    for (const std::string& key : prices_.keys()) {
        const std::string_view base = baseName(key);
        auto group = findGroup(variants_, base);
        if (group == variants_.end()) group = variants_.insert(variants_.end(), {std::string(base), {}});
        group->second.push_back(key);
    }
}

int ItemCatalogue::itemPrice(std::string_view key) const {
    return static_cast<int>(prices_[key]["price"].intValue());
}

std::vector<std::string> ItemCatalogue::itemRequirements(std::string_view key) const {
    std::vector<std::string> keys;
    for (const kt::KTPlist& required : prices_[key]["requires"].arrayValue())
        keys.push_back(required.stringValue());
    return keys;
}

const std::vector<std::string>& ItemCatalogue::variants(std::string_view base) const {
    static const std::vector<std::string> none;
    const auto group = findGroup(variants_, base);
    return group == variants_.end() ? none : group->second;
}

std::string ItemCatalogue::itemOfSet(int set, int place) const {
    const auto index = static_cast<std::size_t>(set * kItemsPerSet + place);
    return set >= 0 && place >= 0 && place < kItemsPerSet && index < order_.size() ? order_[index] : std::string();
}

}  // namespace moonbrook
