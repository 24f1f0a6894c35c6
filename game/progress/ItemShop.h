#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game/progress/ItemCatalogue.h"

namespace kt {
class KTUser;
}

namespace moonbrook {

// The decoration shop of the selected profile. The profile lists the keys it owns under "items" and pays with
// its resource "plates". Sets are sold in order: the four upgrade menus offer the items of the first set the
// profile has not completed, and one variant of each item completes it.
class ItemShop {
public:
    static constexpr const char* kOwnedKey = "items";
    static constexpr const char* kCurrency = "plates";

    enum class Purchase { bought, alreadyOwned, notOffered, notEnoughPlates };

    // The shop of the selected profile, built again when another profile is selected.
    static ItemShop& currentShop();
    static void resetCurrentShop();

    explicit ItemShop(std::shared_ptr<kt::KTUser> user);

    const ItemCatalogue& catalogue() const { return catalogue_; }

    // True when the profile owns some variant of the item (a key or a base name).
    static bool userHasItem(const kt::KTUser& user, std::string_view keyOrBaseName);
    static bool userHasItemVariant(const kt::KTUser& user, std::string_view key);
    // True when every key is owned as a variant; true for none.
    static bool userHasItems(const kt::KTUser& user, const std::vector<std::string>& keys);
    // The owned keys in buying order; keys the profile holds that are not text are left out.
    std::vector<std::string> ownedItems() const;

    // A set (0 to 5) is complete when the profile owns all four of its items.
    bool setComplete(int set) const;
    // The number of complete sets counted from the first: 0 to 6.
    int currentSet() const;
    // The base name offered by an upgrade menu (1 to 4): from the current set, or the last set when every
    // set is complete; empty when the order lacks it.
    std::string itemForMenu(int menu) const;
    // The variants of an item whose requirements the profile meets, in catalogue order.
    std::vector<std::string> offeredVariants(std::string_view baseName) const;
    bool canAfford(std::string_view key) const;

    // Takes the price from the plates, adds the key to the profile and saves the profiles. A variant that is
    // owned, not on offer (unknown, required items missing, another variant of the item owned) or too dear
    // changes nothing.
    Purchase buyItem(const std::string& key);

private:
    bool isOffered(const kt::KTUser& user, std::string_view key) const;

    ItemCatalogue catalogue_;
    std::weak_ptr<kt::KTUser> user_;
};

}  // namespace moonbrook
