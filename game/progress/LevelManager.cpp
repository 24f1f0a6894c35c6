#include "game/progress/LevelManager.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "engine/core/KTFormat.h"
#include "engine/services/KTUserManager.h"
#include "game/ContentFile.h"

namespace moonbrook {

namespace {

using kt::KTPlist;

constexpr const char* kResultsKey = "levelResults";
constexpr const char* kLastLevelKey = "last_level";

std::unique_ptr<LevelManager>& sharedInstance() {
    static std::unique_ptr<LevelManager> instance;
    return instance;
}

std::shared_ptr<kt::KTUser> selectedUser() {
    return kt::KTUserManager::sharedManager().selectedUser();
}

}  // namespace

LevelManager& LevelManager::sharedManager() {
    auto& instance = sharedInstance();
    if (!instance) instance = std::make_unique<LevelManager>();
    return *instance;
}

void LevelManager::resetSharedManager() {
    sharedInstance().reset();
}

LevelManager::LevelManager() {
    readEpisodes();
    readTimeLimits();
}

void LevelManager::readEpisodes() {
    const std::optional<KTPlist> file = readContentFile("data/episodes.plist");
    if (!file) return;
    for (const KTPlist& episode : (*file)["episodes"].arrayValue()) {
        if (!episode.isDictionary()) continue;
        episodes_.append(episode);
        auto& levels = episodeLevels_.emplace_back();
        for (const KTPlist& level : episode["levels"].arrayValue()) {
            const std::string name = level.stringValue();
            if (name.empty()) continue;
            levels.push_back(name);
            // A level listed twice keeps its first place in the global order.
            if (levelPositions_.emplace(name, static_cast<unsigned>(order_.size())).second)
                order_.push_back(name);
        }
    }
}

void LevelManager::readTimeLimits() {
    if (const std::optional<KTPlist> limits = readContentFile("data/level_timelimits.xml")) {
        for (const auto& [level, limit] : limits->dictionaryValue()) {
            levelTimeLimits_[level] = static_cast<float>(limit.realValue());
        }
        return;
    }
    for (const std::string& level : order_) {
        const std::optional<KTPlist> file = readContentFile(kt::KTFormat("data/levels/%@.xml", level));
        const double limit = file ? (*file)["options"]["time_limit"].realValue() : 0.0;
        levelTimeLimits_[level] = static_cast<float>(limit);
    }
}

float LevelManager::timeLimit(const std::string& level) const {
    const auto found = levelTimeLimits_.find(level);
    return found == levelTimeLimits_.end() ? 0.0f : found->second;
}

unsigned LevelManager::levelPosition(const std::string& level) const {
    const auto found = levelPositions_.find(level);
    return found == levelPositions_.end() ? 0 : found->second;
}

std::optional<std::string> LevelManager::nextLevelFor(const std::string& level) const {
    const auto found = levelPositions_.find(level);
    if (found == levelPositions_.end() || found->second + 1 >= order_.size()) return std::nullopt;
    return order_[found->second + 1];
}

const std::vector<std::string>* LevelManager::episodeLevels(std::size_t episode) const {
    if (episode < 1 || episode > episodeLevels_.size()) return nullptr;
    return &episodeLevels_[episode - 1];
}

std::size_t LevelManager::episodeOf(const std::string& level) const {
    for (std::size_t episode = 0; episode < episodeLevels_.size(); ++episode) {
        if (std::ranges::find(episodeLevels_[episode], level) != episodeLevels_[episode].end())
            return episode + 1;
    }
    return 0;
}

std::size_t LevelManager::totalLevelCountForEpisode(std::size_t episode) const {
    const auto* levels = episodeLevels(episode);
    return levels ? levels->size() : 0;
}

std::size_t LevelManager::completedLevelCountForEpisode(std::size_t episode) const {
    const auto* levels = episodeLevels(episode);
    if (!levels) return 0;
    const auto user = selectedUser();
    std::size_t count = 0;
    for (const std::string& level : *levels)
        count += levelCompleted(user.get(), level) ? 1 : 0;
    return count;
}

bool LevelManager::episodeCompleted(std::size_t episode) const {
    return completedLevelCountForEpisode(episode) == totalLevelCountForEpisode(episode);
}

std::size_t LevelManager::currentEpisode() const {
    for (std::size_t episode = 1; episode <= episodeLevels_.size(); ++episode) {
        if (!episodeCompleted(episode)) return episode;
    }
    return 1;
}

bool LevelManager::levelCompleted(const std::string& level) const {
    return levelCompleted(selectedUser().get(), level);
}

bool LevelManager::levelCompleted(const kt::KTUser* user, const std::string& level) const {
    if (!user) return false;
    if (user->objectForKey(kResultsKey).contains(level)) return true;
    const KTPlist& lastLevel = user->objectForKey(kLastLevelKey);
    return levelPositions_.contains(level) && !lastLevel.isNone() &&
           static_cast<std::int64_t>(levelPosition(level)) < lastLevel.intValue();
}

std::optional<std::string> LevelManager::firstUncompletedLevel() const {
    const auto user = selectedUser();
    for (const std::string& level : order_) {
        if (!levelCompleted(user.get(), level)) return level;
    }
    return std::nullopt;
}

int LevelManager::starsForTime(float seconds, float timeLimit) {
    // The factor is a 32-bit float and the product is compared at full precision: 70 s of 100 is 2 stars.
    constexpr float kThreeStarsShare = 0.7f;
    const double threeStarsTime = static_cast<double>(kThreeStarsShare) * static_cast<double>(timeLimit);
    if (static_cast<double>(seconds) <= threeStarsTime) return 3;
    return seconds <= timeLimit ? 2 : 1;
}

int LevelManager::levelStars(const std::string& level, float seconds) const {
    return starsForTime(seconds, timeLimit(level));
}

int LevelManager::levelStars(const std::string& level) const {
    const std::optional<float> best = bestTime(level);
    return best ? levelStars(level, *best) : 1;
}

std::optional<float> LevelManager::bestTime(const std::string& level) const {
    const auto user = selectedUser();
    if (!user) return std::nullopt;
    const KTPlist& result = user->objectForKey(kResultsKey)[level];
    if (!result.isNumber()) return std::nullopt;
    return static_cast<float>(result.realValue());
}

float LevelManager::recordResult(const std::string& level, float seconds) const {
    const auto user = selectedUser();
    if (!user) return seconds;
    KTPlist results = user->objectForKey(kResultsKey);
    const KTPlist& stored = std::as_const(results)[level];
    if (stored.isNumber() && static_cast<float>(stored.realValue()) <= seconds) {
        return static_cast<float>(stored.realValue());
    }
    results[level] = seconds;
    user->setObject(std::move(results), kResultsKey);
    return seconds;
}

}  // namespace moonbrook
