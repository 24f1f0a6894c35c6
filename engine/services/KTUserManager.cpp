#include "engine/services/KTUserManager.h"

#include <ctime>
#include <filesystem>

#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/core/KTResourceManager.h"

namespace kt {

namespace {

std::shared_ptr<KTUserManager>& sharedInstance() {
    static std::shared_ptr<KTUserManager> instance;
    return instance;
}

// The profiles file's root must be a dictionary whose "users" entry, when present, lists dictionaries;
// anything else is damage that saving would make permanent.
bool holdsProfiles(const KTPlist& root) {
    if (!root.isDictionary()) return false;
    const KTPlist& users = root["users"];
    if (users.isNone()) return true;
    if (!users.isArray()) return false;
    for (const KTPlist& options : users.arrayValue()) {
        if (!options.isDictionary()) return false;
    }
    return true;
}

std::string damagedFileName(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    const std::string stamped = path + ".damaged-" + stamp;
    std::string candidate = stamped;
    for (int n = 2; std::filesystem::exists(candidate); ++n)
        candidate = KTFormat("%@-%i", stamped, n);
    return candidate;
}

}  // namespace

const KTClass& KTUserManager::staticClass() {
    static const KTClass& cls = KTClass::define<KTUserManager>("KTUserManager", KTDataSource::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTUserManager);

KTUserManager& KTUserManager::sharedManager() {
    auto& instance = sharedInstance();
    if (!instance) {
        instance = std::make_shared<KTUserManager>();
        instance->load();
    }
    return *instance;
}

void KTUserManager::resetSharedManager() {
    sharedInstance().reset();
}

KTUserManager::KTUserManager() = default;

void KTUserManager::load() {
    if (loaded_) return;
    loaded_ = true;
    if (path_.empty()) path_ = KTResourceManager::shared().getUserPath("users.xml");
    KTLog("try to load users from %@", path_);
    users_.clear();
    selectedIdx_ = -1;
    std::error_code error;
    if (!std::filesystem::exists(path_, error)) return;
    if (!readFile()) setDamagedFileAside();
}

bool KTUserManager::readFile() {
    const std::optional<KTPlist> root = KTPlist::readFile(path_);
    if (!root || !holdsProfiles(*root)) return false;
    for (const KTPlist& options : (*root)["users"].arrayValue())
        users_.push_back(std::make_shared<KTUser>(options));
    selectedIdx_ = userIdx((*root)["selected_user_name"].stringValue());
    if (selectedIdx_ < 0) selectedIdx_ = static_cast<int>((*root)["selected_user_idx"].intValue());
    return true;
}

void KTUserManager::setDamagedFileAside() {
    const std::string aside = damagedFileName(path_);
    std::error_code error;
    std::filesystem::rename(path_, aside, error);
    if (error) {
        saveRefused_ = true;
        KTLog("users file %@ cannot be read nor moved aside (%@); profiles will not be saved", path_,
              error.message());
        return;
    }
    KTLog("users file %@ cannot be read; kept as %@, starting without profiles", path_, aside);
}

void KTUserManager::save() {
    if (saveRefused_) {
        KTLog("not saving profiles over the damaged file %@", path_);
        return;
    }
    KTPlist root = KTPlist::emptyDictionary();
    KTPlist& list = root["users"];
    list = KTPlist::emptyArray();
    for (const auto& user : users_)
        list.append(user->options());
    if (auto user = selectedUser()) root["selected_user_name"] = user->name();
    root["selected_user_idx"] = std::to_string(selectedIdx_);
    root.writeFile(path_);
}

void KTUserManager::commit() {
    save();
    KTNotificationCenter::shared().post(kUserListChanged, this);
}

void KTUserManager::add(const std::string& name) {
    auto user = std::make_shared<KTUser>();
    user->setObject(name, "name");
    users_.push_back(std::move(user));
    selectedIdx_ = static_cast<int>(users_.size()) - 1;
    commit();
}

void KTUserManager::remove(int index) {
    if (index < 0 || index >= static_cast<int>(users_.size())) return;
    users_.erase(users_.begin() + index);
    if (index == selectedIdx_) {
        selectFirstOrNone();
    } else if (index < selectedIdx_) {
        --selectedIdx_;
    }
    commit();
}

void KTUserManager::removeSelected() {
    if (selectedIdx_ < 0 || selectedIdx_ >= static_cast<int>(users_.size())) return;
    users_.erase(users_.begin() + selectedIdx_);
    selectFirstOrNone();
    KTLog("users count = %i, selectedIdx=%i", users_.size(), selectedIdx_);
    commit();
}

void KTUserManager::selectByName(const std::string& name) {
    selectedIdx_ = userIdx(name);
    commit();
}

int KTUserManager::userIdx(const std::string& name) const {
    KTLog("getUserIdx: %@", name);
    for (std::size_t i = 0; i < users_.size(); ++i) {
        if (users_[i]->name() == name) {
            KTLog("selecting user %@", name);
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::shared_ptr<KTUser> KTUserManager::selectedUser() const {
    if (selectedIdx_ < 0 || selectedIdx_ >= static_cast<int>(users_.size())) return nullptr;
    return users_[static_cast<std::size_t>(selectedIdx_)];
}

std::vector<std::string> KTUserManager::itemTexts() const {
    std::vector<std::string> names;
    for (const auto& user : users_)
        names.push_back(user->name());
    return names;
}

}  // namespace kt
