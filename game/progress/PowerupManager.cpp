#include "game/progress/PowerupManager.h"

#include "engine/core/KTLog.h"
#include "game/ContentFile.h"
#include "game/progress/ProfileBoundManager.h"

namespace moonbrook {

namespace {

ProfileBoundManager<PowerupManager>& sharedInstance() {
    static ProfileBoundManager<PowerupManager> instance;
    return instance;
}

}  // namespace

PowerupManager& PowerupManager::currentPowerupManager() {
    return sharedInstance().current();
}

void PowerupManager::resetCurrentPowerupManager() {
    sharedInstance().reset();
}

PowerupManager::PowerupManager(std::shared_ptr<kt::KTUser> user) {
    if (auto file = readContentFile(kDefinitionsFile); file && file->isDictionary()) definitions_ = *file;
    for (const auto& [name, levels] : definitions_.dictionaryValue()) {
        powerups_.push_back(std::make_shared<Powerup>(name, levels, user));
    }
    kt::KTLog("powerups: %i defined", powerups_.size());
}

std::shared_ptr<Powerup> PowerupManager::getPowerupByName(const std::string& name) const {
    for (const auto& powerup : powerups_) {
        if (powerup->name() == name) return powerup;
    }
    return nullptr;
}

void PowerupManager::fillFor(float seconds) {
    for (const auto& powerup : powerups_)
        powerup->fillFor(seconds);
}

void PowerupManager::fillWith(char16_t ballType) {
    for (const auto& powerup : powerups_)
        powerup->fillWith(ballType);
}

void PowerupManager::reset() {
    for (const auto& powerup : powerups_)
        powerup->reset();
}

void PowerupManager::save() {
    for (const auto& powerup : powerups_)
        powerup->save();
}

bool PowerupManager::canBuySomething() const {
    for (const auto& powerup : powerups_) {
        if (powerup->maxLevel() < powerup->levelCount() && powerup->isEnoughMoneyForUpgrade()) return true;
    }
    return false;
}

}  // namespace moonbrook
