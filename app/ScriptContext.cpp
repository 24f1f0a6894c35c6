#include "app/ScriptContext.h"

namespace moonbrook {

void ScriptContext::injectEvent(kt::KTEvent event) {
    if (kt::KTPlatform* platform = director_.platform()) platform->injectEvent(std::move(event));
}

void ScriptContext::injectPointerEvent(kt::KTEvent::Type type, kt::CGPoint logicalPoint, int mouseButton) {
    kt::KTEvent event;
    event.type = type;
    event.mouseButton = mouseButton;
    event.pointer = director_.screenPointFromRenderPoint(logicalPoint);
    injectEvent(std::move(event));
}

}  // namespace moonbrook
