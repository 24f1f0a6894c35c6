#pragma once

#include <string>

namespace kt {

// Finds and caches content, and owns the per-user folder where the log and the saved data live.
class KTResourceManager {
public:
    static KTResourceManager& shared();

    const std::string& appName() const { return appName_; }
    void setAppName(std::string name) { appName_ = std::move(name); }
    const std::string& appDirName() const { return appDirName_; }
    void setAppDirName(std::string name) { appDirName_ = std::move(name); }

    // $XDG_DATA_HOME (default ~/.local/share) joined with the folder name; created when missing.
    std::string applicationSupportDirectory() const;
    std::string getUserPath(const std::string& fileName) const;
    static std::string osUserName();

private:
    std::string appName_;
    std::string appDirName_;
};

}  // namespace kt
