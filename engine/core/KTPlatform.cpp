#include "engine/core/KTPlatform.h"

namespace kt {

bool KTPlatform::pollEvent(KTEvent& event) {
    if (!injected_.empty()) {
        event = std::move(injected_.front());
        injected_.pop_front();
        if (event.pointer) injectedPointer_ = event.pointer;
        return true;
    }
    if (!pollPlatformEvent(event)) return false;
    // A real pointer movement takes the pointer back from the injected position.
    if (event.type == KTEvent::Type::mouseMove) injectedPointer_.reset();
    return true;
}

CGPoint KTPlatform::mousePosition() {
    return injectedPointer_ ? *injectedPointer_ : platformMousePosition();
}

}  // namespace kt
