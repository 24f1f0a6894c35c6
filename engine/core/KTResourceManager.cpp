#include "engine/core/KTResourceManager.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "engine/core/KTLog.h"

namespace kt {
namespace {

std::string userDataDirectory() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : ".";
    }
    return (std::filesystem::path(home) / ".local" / "share").string();
}

}  // namespace

KTResourceManager& KTResourceManager::shared() {
    static KTResourceManager manager;
    return manager;
}

std::string KTResourceManager::applicationSupportDirectory() const {
    const std::string base = userDataDirectory();
    const std::string folder = (std::filesystem::path(base) / appDirName_).string();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    KTLog("appName: %@", appName_);
    KTLog("appDirName: %@", appDirName_);
    KTLog("USER DIR IS: %@", base);
    KTLog("USER DIR WITH APPNAME IS: %@", folder);
    return folder;
}

std::string KTResourceManager::getUserPath(const std::string& fileName) const {
    const std::string path = (std::filesystem::path(applicationSupportDirectory()) / fileName).string();
    KTLog("getUserPath returns %@", path);
    return path;
}

std::string KTResourceManager::osUserName() {
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name && *entry->pw_name) return entry->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

}  // namespace kt
