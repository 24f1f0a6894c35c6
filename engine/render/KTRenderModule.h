#pragma once

#include <memory>

namespace kt {

class KTRender;
class KTRenderBackend;

// Plugs the render module into the core: a renderer on the back end into the director, the image and font
// loaders into the resource manager and the frame statistics into the scheduler and the node factory.
// Called once the window exists; answers the renderer.
std::shared_ptr<KTRender> KTInstallRenderModule(std::shared_ptr<KTRenderBackend> backend);

}  // namespace kt
