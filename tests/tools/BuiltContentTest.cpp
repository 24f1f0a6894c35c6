#include "tests/tools/BuiltContentTest.h"

#include <memory>

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTRenderBackend.h"
#include "engine/render/KTRenderModule.h"

namespace kt::test {
namespace {

namespace fs = std::filesystem;

class TextureCountingBackend : public KTRenderBackend {
public:
    TextureHandle createTexture(int, int, const std::uint8_t*, int, bool) override { return ++textures_; }
    void releaseTexture(TextureHandle) override {}

protected:
    bool startFrame() override { return true; }
    void present() override {}
    void submit(TextureHandle, const KTBackendVertex*, std::size_t, const int*, std::size_t) override {}

private:
    TextureHandle textures_ = 0;
};

}  // namespace

BuiltContentTest::BuiltContentTest() {
    KTInstallActionsModule();
    KTInstallRenderModule(std::make_shared<TextureCountingBackend>());
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
