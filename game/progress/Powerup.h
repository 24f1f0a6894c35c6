#pragma once

#include <memory>
#include <string>

#include "engine/core/KTDataSource.h"
#include "engine/core/KTPlist.h"

namespace kt {
class KTNode;
class KTUser;
}  // namespace kt

namespace moonbrook {

// One powerup of the shop and the HUD. The player buys levels of it with tokens ("maxLevel", kept in the
// profile); during a level it charges level by level with play time and with removed balls of its speed-up
// letters, and a use spends the whole charge.
class Powerup {
public:
    static constexpr const char* kFilledEffect = "data/effects/powerup_filled.xml";

    // The levels are the definitions' dictionaries, the first for level 1. The purchases are read from the
    // profile, which may be none (nothing bought, nothing can be bought).
    Powerup(std::string name, kt::KTPlist levels, std::shared_ptr<kt::KTUser> user);

    const std::string& name() const { return name_; }
    // The level charged so far in this attempt; 0 = not usable yet.
    int level() const { return level_; }
    // The level bought; 0 = not bought.
    int maxLevel() const { return maxLevel_; }
    const std::shared_ptr<kt::KTStringDataSource>& maxLevelText() const { return maxLevelText_; }
    float filling() const { return filling_; }
    int levelCount() const { return static_cast<int>(levels_.size()); }

    // None outside 1..levelCount.
    const kt::KTPlist& optionsForLevel(int level) const {
        return levels_.at(static_cast<std::size_t>(level - 1));
    }
    // The options of the level bought, which decide the charging.
    const kt::KTPlist& options() const { return optionsForLevel(maxLevel_); }
    // The options of the charged level, which a use applies.
    const kt::KTPlist& currentOptions() const { return optionsForLevel(level_); }
    const kt::KTPlist& nextLevelOptions() const { return optionsForLevel(level_ + 1); }
    float fillingTime() const { return static_cast<float>(nextLevelOptions()["filling_time"].realValue()); }

    bool canUpgrade() const { return maxLevel_ < levelCount() && isEnoughMoneyForUpgrade(); }
    bool canDegrade() const { return maxLevel_ > 0; }
    int upgradePrice() const { return static_cast<int>(optionsForLevel(maxLevel_ + 1)["price"].intValue()); }
    int degradePrice() const { return static_cast<int>(options()["price"].intValue()); }
    // True when nothing is left to buy, or the next level is for sale and affordable.
    bool isEnoughMoneyForUpgrade() const;
    // Both change the tokens at once; save() and the profiles' save keep the purchase.
    void upgrade();
    void degrade();
    void save();

    // Spends the charge.
    void reset();
    std::string levelButtonName() const;
    // The HUD button: children "progress", "button_l_1" to "button_l_3" and a tooltip with a "text" child.
    void setButton(const std::shared_ptr<kt::KTNode>& button);
    void fillFor(float seconds);
    void fillWith(char16_t ballType);
    std::string description() const;

private:
    void setMaxLevel(int level);

    std::string name_;
    kt::KTPlist levels_;
    std::weak_ptr<kt::KTUser> user_;
    kt::KTPlist userData_ = kt::KTPlist::emptyDictionary();
    int level_ = 0;
    int maxLevel_ = 0;
    float filling_ = 0;
    std::shared_ptr<kt::KTStringDataSource> maxLevelText_ = std::make_shared<kt::KTStringDataSource>();
    std::weak_ptr<kt::KTNode> button_;
};

}  // namespace moonbrook
