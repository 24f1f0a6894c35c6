#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/KTPlist.h"

namespace kt {
class KTUser;
}

namespace moonbrook {

// Knows the episodes, the global order of the levels, their time limits and the selected player's progress
// through them. A level is done when it has a result or lies before the player's "last_level" position.
class LevelManager {
public:
    static LevelManager& sharedManager();
    // Forgets the manager: the next use reads the content again (tests and tools).
    static void resetSharedManager();

    LevelManager();

    // The episode dictionaries as the file gives them.
    const kt::KTPlist& episodes() const { return episodes_; }
    const std::map<std::string, float, std::less<>>& levelTimeLimits() const { return levelTimeLimits_; }
    float timeLimit(const std::string& level) const;

    // 0 for a level that is in no episode.
    unsigned levelPosition(const std::string& level) const;
    // The level after it in the global order, across episodes.
    std::optional<std::string> nextLevelFor(const std::string& level) const;

    // Episodes are numbered from 1; 0 for a level that is in no episode.
    std::size_t episodeOf(const std::string& level) const;
    std::size_t totalLevelCountForEpisode(std::size_t episode) const;
    std::size_t completedLevelCountForEpisode(std::size_t episode) const;
    bool episodeCompleted(std::size_t episode) const;
    // The first episode that is not completed, or 1 when all are.
    std::size_t currentEpisode() const;

    // The level names of an episode in order; none for an unknown episode.
    const std::vector<std::string>* episodeLevels(std::size_t episode) const;
    std::size_t episodeCount() const { return episodeLevels_.size(); }

    bool levelCompleted(const std::string& level) const;
    std::optional<std::string> firstUncompletedLevel() const;

    // 1 to 3 stars for a time against the level's limit; 1 for a level without result.
    int levelStars(const std::string& level) const;
    int levelStars(const std::string& level, float seconds) const;
    // The selected profile's best time for the level in seconds; none before it is won.
    std::optional<float> bestTime(const std::string& level) const;
    // Keeps the better of the stored and the new time in the selected profile and answers the best time;
    // the caller saves the profiles.
    float recordResult(const std::string& level, float seconds) const;

    static int starsForTime(float seconds, float timeLimit);

private:
    void readEpisodes();
    void readTimeLimits();
    bool levelCompleted(const kt::KTUser* user, const std::string& level) const;

    kt::KTPlist episodes_ = kt::KTPlist::emptyArray();
    std::vector<std::vector<std::string>> episodeLevels_;
    std::vector<std::string> order_;
    std::map<std::string, unsigned, std::less<>> levelPositions_;
    std::map<std::string, float, std::less<>> levelTimeLimits_;
};

}  // namespace moonbrook
