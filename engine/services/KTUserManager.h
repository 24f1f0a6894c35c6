#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/KTDataSource.h"
#include "engine/services/KTUser.h"

namespace kt {

// Owns the player profiles and their file "users.xml" in the per-user folder, and answers as the list
// provider of the profile list. The file is replaced atomically on every save; a file that exists but cannot
// be read is renamed aside before anything could be written over it, so a player's progress is never lost.
class KTUserManager : public KTDataSource {
public:
    KT_CLASS(KTUserManager)

    static constexpr std::string_view kUserDataChanged = "user_data_changed";
    static constexpr std::string_view kUserListChanged = "userlist_changed";
    // The limit of the menu's add-profile screen.
    static constexpr std::size_t kMaxUsers = 8;

    using Users = std::vector<std::shared_ptr<KTUser>>;

    // Created and loaded on first use.
    static KTUserManager& sharedManager();
    // Forgets the manager and its file path: the next use loads afresh (tests and tools).
    static void resetSharedManager();

    KTUserManager();

    // Reads the file once; later calls do nothing.
    void load();
    void save();
    // Saves, then posts "userlist_changed".
    void commit() override;

    // Neither the name nor the limit is checked here; the screens do that.
    void add(const std::string& name);
    // Removing a profile before the selected one keeps the same profile selected.
    void remove(int index);
    void removeUser(const std::string& name) { remove(userIdx(name)); }
    void removeSelected();
    void selectByName(const std::string& name);
    int userIdx(const std::string& name) const;
    // True when no profile has exactly this name.
    bool checkUserName(const std::string& name) const { return userIdx(name) < 0; }

    std::shared_ptr<KTUser> selectedUser() const;
    const Users& users() const { return users_; }
    std::size_t count() const { return users_.size(); }
    int selectedIdx() const { return selectedIdx_; }
    unsigned usersCountLimit() const { return usersCountLimit_; }
    void setUsersCountLimit(unsigned limit) { usersCountLimit_ = limit; }
    const std::string& filePath() const { return path_; }

    // The profile list as a list provider: the names, and the raw selection (stored without saving).
    KTDataKind dataKind() const override { return KTDataKind::list; }
    double numberValue() const override { return selectedIdx_; }
    std::string stringValue() const override { return {}; }
    std::vector<std::string> itemTexts() const override;
    int selectionIdx() const override { return selectedIdx_; }
    void setSelectionIdx(int index) override { selectedIdx_ = index; }

private:
    bool readFile();
    void setDamagedFileAside();
    void selectFirstOrNone() { selectedIdx_ = users_.empty() ? -1 : 0; }

    Users users_;
    bool loaded_ = false;
    // Set when a damaged file could not be moved away: saving would destroy it.
    bool saveRefused_ = false;
    int selectedIdx_ = -1;
    unsigned usersCountLimit_ = 10;
    std::string path_;
};

}  // namespace kt
