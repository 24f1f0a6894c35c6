#include "game/progress/BonusManager.h"

#include <algorithm>
#include <map>

#include "engine/core/KTRandom.h"
#include "engine/services/KTUser.h"
#include "game/BallLetter.h"
#include "game/ContentFile.h"
#include "game/progress/ProfileBoundManager.h"

namespace moonbrook {

namespace {

using kt::KTPlist;

constexpr const char* kOwnedKey = "bonuses";

ProfileBoundManager<BonusManager>& sharedInstance() {
    static ProfileBoundManager<BonusManager> instance;
    return instance;
}

std::string& currency() {
    static std::string name = "tokens";
    return name;
}

}  // namespace

BonusManager& BonusManager::currentManager() {
    return sharedInstance().current();
}

void BonusManager::resetCurrentManager() {
    sharedInstance().reset();
}

const std::string& BonusManager::resource() {
    return currency();
}

void BonusManager::setResource(std::string resource) {
    currency() = std::move(resource);
}

BonusManager::BonusManager(std::shared_ptr<kt::KTUser> user) : user_(user) {
    if (auto file = readContentFile(kDefinitionsFile); file && file->isDictionary()) definitions_ = *file;
}

int BonusManager::priceOfBonus(const std::string& name) const {
    return static_cast<int>(definitions_[name]["price"].intValue());
}

bool BonusManager::userHasBonus(kt::KTUser& user, const std::string& name) {
    const KTPlist& owned = user.objectForKey(kOwnedKey);
    if (!owned.isArray()) {
        user.setObject(KTPlist::emptyArray(), kOwnedKey);
        return false;
    }
    const auto& names = owned.arrayValue();
    return std::find(names.begin(), names.end(), KTPlist(name)) != names.end();
}

bool BonusManager::currentUserHasBonus(const std::string& name) const {
    const auto user = user_.lock();
    return user && userHasBonus(*user, name);
}

bool BonusManager::isEnoughMoneyToBuy(const std::string& name) const {
    const auto user = user_.lock();
    if (!user || !isDefined(name)) return false;
    return userHasBonus(*user, name) || priceOfBonus(name) <= user->amountOfResource(resource());
}

void BonusManager::buyBonus(const std::string& name) {
    const auto user = user_.lock();
    if (!user || !isDefined(name) || userHasBonus(*user, name)) return;
    const int price = priceOfBonus(name);
    if (user->amountOfResource(resource()) < price) return;
    KTPlist owned = user->objectForKey(kOwnedKey);
    owned.append(name);
    user->setObject(std::move(owned), kOwnedKey);
    user->subAmount(price, resource());
}

void BonusManager::sellBonus(const std::string& name) {
    const auto user = user_.lock();
    if (!user || !isDefined(name) || !userHasBonus(*user, name)) return;
    KTPlist owned = user->objectForKey(kOwnedKey);
    std::erase(owned.mutableArray(), KTPlist(name));
    user->setObject(std::move(owned), kOwnedKey);
    user->addAmount(priceOfBonus(name), resource());
}

bool BonusManager::canBuySomething() const {
    for (const std::string& name : bonuses()) {
        if (isEnoughMoneyToBuy(name) && !currentUserHasBonus(name)) return true;
    }
    return false;
}

char16_t BonusManager::getBonusTypeForMatch(int matchSize) const {
    const auto user = user_.lock();
    if (!user) return kGhostBall;
    std::map<std::int64_t, std::vector<std::string>> typesByMatch;
    for (const auto& [name, bonus] : definitions_.dictionaryValue()) {
        if (userHasBonus(*user, name))
            typesByMatch[bonus["match"].intValue()].push_back(bonus["type"].stringValue());
    }
    for (int match = matchSize; match >= 0; --match) {
        auto found = typesByMatch.find(match);
        if (found == typesByMatch.end()) continue;
        kt::ShuffleArray(found->second);
        return ballLetterOf(found->second.front());
    }
    return kGhostBall;
}

}  // namespace moonbrook
