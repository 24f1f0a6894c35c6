#pragma once

#include <string>

namespace moonbrook::levelcheck {

// A temporary folder that XDG_DATA_HOME points at while it lives, so that a tool's own profile and log stay
// away from the players' ones; removed with everything in it at the end.
class ProfileFolder {
public:
    ProfileFolder();
    ~ProfileFolder();
    ProfileFolder(const ProfileFolder&) = delete;
    ProfileFolder& operator=(const ProfileFolder&) = delete;

    // False when no folder could be made.
    bool made() const { return !path_.empty(); }

private:
    std::string path_;
};

// The folder of the running program when data/ lies beside it (the build tree), else the current folder.
std::string defaultDataRoot();

}  // namespace moonbrook::levelcheck
