#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTRenderModule.h"
#include "tests/engine/render/RenderTest.h"
#include "tests/support/DataFileTest.h"

namespace kt::test {

// Fixture for tests that read the built data tree through the engine's own loaders, as the game will; the
// resource manager's base is the folder holding "data/". Textures get handles but no device.
class BuiltContentTest : public DataFileTest {
protected:
    static inline const std::filesystem::path kRoot = MOONBROOK_CONTENT_ROOT;

    BuiltContentTest() {
        KTInstallActionsModule();
        KTInstallRenderModule(std::make_shared<RecordingBackend>());
        KTResourceManager::shared().setBaseDataPath(kRoot.string() + "/");
    }

    // Resource names of the files below a folder of the tree whose names end in the suffix.
    static std::vector<std::string> filesBelow(const std::string& folder, std::string_view suffix) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kRoot / folder)) {
            const std::string name = entry.path().lexically_relative(kRoot).generic_string();
            if (name.ends_with(suffix)) names.push_back(name);
        }
        return names;
    }
};

}  // namespace kt::test
