#pragma once

#include <cstddef>
#include <string>

#include "app/FrameDriver.h"
#include "app/Script.h"

namespace moonbrook {

// Runs a script between the director's frames. A failing command stops the run; the failure names the
// script's file and line.
class ScriptRunner final : public FrameDriver {
public:
    ScriptRunner(Script script, kt::KTDirector& director) : script_(std::move(script)), context_(director) {}

    // Runs the commands that are due, in order, up to one that waits for more frames.
    void afterFrame() override;

    bool finished() const { return next_ >= script_.steps.size(); }
    const std::string& failure() const override { return failure_; }

private:
    Script script_;
    ScriptContext context_;
    std::size_t next_ = 0;
    std::string failure_;
};

}  // namespace moonbrook
