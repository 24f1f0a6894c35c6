#include "engine/render/KTRenderModule.h"

#include "engine/core/KTDirector.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTFont.h"
#include "engine/render/KTRender.h"
#include "engine/render/KTRenderStatsManager.h"
#include "engine/render/KTTextureImageLoader.h"

namespace kt {

std::shared_ptr<KTRender> KTInstallRenderModule(std::shared_ptr<KTRenderBackend> backend) {
    auto render = std::make_shared<KTRender>(backend);
    KTDirector::shared().setRenderer(render);
    KTResourceManager& resources = KTResourceManager::shared();
    resources.setImageLoader(std::make_shared<KTTextureImageLoader>(backend));
    resources.setFontLoader(&KTFont::fontFromFile);
    KTRenderStatsManager::install();
    return render;
}

}  // namespace kt
