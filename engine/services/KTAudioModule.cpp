#include "engine/services/KTAudioModule.h"

#include <memory>
#include <string>

#include "engine/core/KTLog.h"
#include "engine/platform/KTSDLAudioBackend.h"
#include "engine/platform/KTSilentAudioBackend.h"
#include "engine/services/KTAudioManager.h"

namespace kt {

void KTInstallAudioModule() {
    std::string error;
    std::shared_ptr<KTAudioBackend> backend = KTSDLAudioBackend::open(error);
    if (!backend) {
        KTLog("No audio device (%@); playing without sound", error);
        backend = std::make_shared<KTSilentAudioBackend>();
    }
    KTAudioManager::install(std::move(backend));
}

}  // namespace kt
