#pragma once

#include <string>

namespace moonbrook {

// What drives an automated run of the program between frames: a script, or a tool's own player.
class FrameDriver {
public:
    virtual ~FrameDriver() = default;

    // Once the window, the renderer and the profiles are ready, before the first scene is made.
    virtual void started() {}
    // After every frame, while the loop runs.
    virtual void afterFrame() = 0;
    // Why the driver stopped the run; empty when it did not fail.
    virtual const std::string& failure() const = 0;
};

}  // namespace moonbrook
