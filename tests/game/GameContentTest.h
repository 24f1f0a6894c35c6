#pragma once

#include <string>

#include "engine/services/KTUser.h"
#include "tests/engine/services/ProfileTest.h"

namespace moonbrook::test {

// Content and profile managers start from nothing in every test; the test writes the content it needs.
class GameContentTest : public kt::test::ProfileTest {
protected:
    GameContentTest();
    ~GameContentTest() override;

    // A selected profile with that many tokens.
    kt::KTUser& addPlayer(const std::string& name, int tokens = 0);
};

}  // namespace moonbrook::test
