#include "tests/tools/BuiltContentTest.h"

#include <memory>

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTRenderModule.h"
#include "tests/engine/render/RenderTest.h"

namespace kt::test {

namespace fs = std::filesystem;

BuiltContentTest::BuiltContentTest() {
    KTInstallActionsModule();
    KTInstallRenderModule(std::make_shared<RecordingBackend>());
    KTResourceManager::shared().setBaseDataPath(kRoot.string() + "/");
}

std::vector<std::string> BuiltContentTest::filesBelow(const std::string& folder, std::string_view suffix) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / folder)) {
        const std::string name = entry.path().lexically_relative(kRoot).generic_string();
        if (name.ends_with(suffix)) names.push_back(name);
    }
    return names;
}

}  // namespace kt::test
