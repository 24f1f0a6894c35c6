#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/core/KTPlist.h"

namespace moonbrook {

// The decorations the main menu sells for plates. "data/items.plist" prices every variant of an item: its key
// is the item's base name, an underscore and the variant ("fence_mint"), its value a dictionary with "price"
// and optionally "requires", the keys a profile must own before the variant is offered.
// "data/items_order.plist" lists the base names in shop order, six sets of four. When either file is missing
// or damaged the shop holds nothing (logged once), so the rest of the menu works on.
class ItemCatalogue {
public:
    static constexpr const char* kPricesFile = "data/items.plist";
    static constexpr const char* kOrderFile = "data/items_order.plist";
    static constexpr int kSetCount = 6;
    static constexpr int kItemsPerSet = 4;

    ItemCatalogue();

    // The part of a key before its first underscore; the whole key when it has none.
    static std::string_view baseName(std::string_view key);

    bool empty() const { return order_.empty(); }
    bool contains(std::string_view key) const { return prices_.contains(key); }
    // 0 for a key without a price.
    int itemPrice(std::string_view key) const;
    // Empty when the variant has no requirement.
    std::vector<std::string> itemRequirements(std::string_view key) const;
    // The keys of an item's variants in file order; empty for an unknown item.
    const std::vector<std::string>& variants(std::string_view baseName) const;
    const std::vector<std::string>& itemsOrder() const { return order_; }
    // The base name at a place (0 to 3) of a set (0 to 5); empty when the order has no such entry.
    std::string itemOfSet(int set, int place) const;

private:
    void readPrices();
    void readOrder();
    void groupVariants();

    kt::KTPlist prices_ = kt::KTPlist::emptyDictionary();
    std::vector<std::string> order_;
    std::vector<std::pair<std::string, std::vector<std::string>>> variants_;
};

}  // namespace moonbrook
