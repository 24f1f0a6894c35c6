#pragma once

#include <functional>
#include <string>

#include "engine/core/KTDirector.h"

namespace moonbrook {

// Where a script command stands after its turn between two frames.
enum class ScriptStatus {
    // Done; the next command runs at once.
    finished,
    // Done; the next command runs after the next frame, which delivers the input this one injected, so that
    // it sees the effect.
    yield,
    // To be called again after the next frame.
    waiting,
    failed,
};

// What script commands act on between frames: the director, and input injected as if the player made it.
class ScriptContext {
public:
    explicit ScriptContext(kt::KTDirector& director) : director_(director) {}

    kt::KTDirector& director() const { return director_; }

    // Delivered at the start of the next frame, before the window's own events.
    void injectEvent(kt::KTEvent event);
    // A pointer event at a point of the logical screen, placed in window pixels through the letterbox.
    void injectPointerEvent(kt::KTEvent::Type type, kt::CGPoint logicalPoint, int mouseButton = 0);

    ScriptStatus fail(std::string message) {
        failure_ = std::move(message);
        return ScriptStatus::failed;
    }
    const std::string& failure() const { return failure_; }

private:
    kt::KTDirector& director_;
    std::string failure_;
};

// A parsed command: called after each frame until it reports finished or failed.
using ScriptAction = std::function<ScriptStatus(ScriptContext&)>;

}  // namespace moonbrook
