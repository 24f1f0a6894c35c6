#include "tests/engine/services/ProfileTest.h"

#include <fstream>

#include "engine/core/KTResourceManager.h"
#include "engine/services/KTSettingsManager.h"
#include "engine/services/KTUserManager.h"

namespace kt::test {

ProfileTest::ProfileTest() {
    restart();
}

ProfileTest::~ProfileTest() {
    restart();
}

std::string ProfileTest::usersFile() const {
    return KTResourceManager::shared().getUserPath("users.xml");
}

KTPlist ProfileTest::savedFile() const {
    return KTPlist::readFile(usersFile()).value_or(KTPlist());
}

void ProfileTest::writeUsersFile(const std::string& content) const {
    std::ofstream(usersFile(), std::ios::binary) << content;
}

void ProfileTest::restart() const {
    KTSettingsManager::resetSharedManager();
    KTUserManager::resetSharedManager();
}

}  // namespace kt::test
