#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/DataFileTest.h"

namespace kt::test {

// Fixture for tests that read the built data tree through the engine's own loaders, as the game will; the
// resource manager's base is the folder holding "data/". Textures get handles but no device.
class BuiltContentTest : public DataFileTest {
protected:
    static inline const std::filesystem::path kRoot = MOONBROOK_CONTENT_ROOT;

    BuiltContentTest();

    // Resource names of the files below a folder of the tree whose names end in the suffix.
    static std::vector<std::string> filesBelow(const std::string& folder, std::string_view suffix);
};

}  // namespace kt::test
