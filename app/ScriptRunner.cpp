#include "app/ScriptRunner.h"

namespace moonbrook {

void ScriptRunner::afterFrame() {
    kt::KTDirector& director = context_.director();
    // Nothing runs once the loop is ending, whether a command or the player ended it.
    while (!finished() && failure_.empty() && director.running()) {
        const Script::Step& step = script_.steps[next_];
        const ScriptStatus status = step.action(context_);
        if (status == ScriptStatus::waiting) return;
        if (status == ScriptStatus::failed) {
            failure_ = script_.name + ":" + std::to_string(step.line) + ": " + context_.failure();
            director.close();
            return;
        }
        ++next_;
        if (status == ScriptStatus::yield) return;
    }
}

}  // namespace moonbrook
