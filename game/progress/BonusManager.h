#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTPlist.h"

namespace kt {
class KTUser;
}

namespace moonbrook {

// The bonuses of the selected profile, defined by "data/bonuses.plist": each bonus has a price, the size
// of match it answers to and the ball type it creates. A bonus is bought once; the profile lists the names
// of its bonuses under "bonuses".
class BonusManager {
public:
    static constexpr const char* kDefinitionsFile = "data/bonuses.plist";

    // The manager of the selected profile, built again when another profile is selected.
    static BonusManager& currentManager();
    static void resetCurrentManager();
    // The currency bonuses are paid with.
    static const std::string& resource();
    static void setResource(std::string resource);

    explicit BonusManager(std::shared_ptr<kt::KTUser> user);

    const kt::KTPlist& definitions() const { return definitions_; }
    std::vector<std::string> bonuses() const { return definitions_.keys(); }
    int priceOfBonus(const std::string& name) const;

    static bool userHasBonus(kt::KTUser& user, const std::string& name);
    bool currentUserHasBonus(const std::string& name) const;
    // True for a bonus owned already or affordable now; false for an unknown one.
    bool isEnoughMoneyToBuy(const std::string& name) const;
    // Both change the currency at once; the caller saves the profiles.
    void buyBonus(const std::string& name);
    void sellBonus(const std::string& name);
    bool canBuySomething() const;

    // The ball type of an owned bonus for the longest match size up to n (one at random among several),
    // or the ghost placeholder when none fits.
    char16_t getBonusTypeForMatch(int matchSize) const;

private:
    bool isDefined(const std::string& name) const { return definitions_[name].isDictionary(); }

    kt::KTPlist definitions_ = kt::KTPlist::emptyDictionary();
    std::weak_ptr<kt::KTUser> user_;
};

}  // namespace moonbrook
