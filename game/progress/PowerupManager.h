#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTPlist.h"
#include "game/progress/Powerup.h"

namespace moonbrook {

// The powerups of the selected profile, defined by "data/powerups.plist": a dictionary from powerup name to
// the list of its levels.
class PowerupManager {
public:
    static constexpr const char* kDefinitionsFile = "data/powerups.plist";

    // The manager of the selected profile, built again when another profile is selected.
    static PowerupManager& currentPowerupManager();
    static void resetCurrentPowerupManager();

    explicit PowerupManager(std::shared_ptr<kt::KTUser> user);

    const kt::KTPlist& definitions() const { return definitions_; }
    // In the order of the definitions.
    const std::vector<std::shared_ptr<Powerup>>& powerups() const { return powerups_; }
    std::shared_ptr<Powerup> getPowerupByName(const std::string& name) const;

    void fillFor(float seconds);
    void fillWith(char16_t ballType);
    void reset();
    void save();
    // True when some powerup below its top level could be upgraded now.
    bool canBuySomething() const;

private:
    kt::KTPlist definitions_ = kt::KTPlist::emptyDictionary();
    std::vector<std::shared_ptr<Powerup>> powerups_;
};

}  // namespace moonbrook
