#pragma once

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ScriptCommandRegistry.h"
#include "engine/core/KTDirector.h"

namespace moonbrook {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitNoWindow = 1;
inline constexpr int kExitBadUsage = 2;

// The program, from its arguments (without its own name) to its exit code: kExitBadUsage for a bad command
// line or script, kExitNoWindow when no window can be opened, kExitSuccess when the player or the script ends
// it.
int runApplication(const std::vector<std::string>& arguments);

class FrameDriver;

// The program with its options read: start-up, the first scene, the frame loop driven by the driver (a
// script, a tool's player, or none) and the shut-down. Answers the exit code as runApplication does; a
// driver's failure gives kExitBadUsage.
int runGame(const AppOptions& options, FrameDriver* driver);

// Every command a script may use.
ScriptCommandRegistry scriptCommands();

// Fixed time steps, the seed, and, after every frame, the driver (if any) and the frame limit.
void installAutomation(const AppOptions& options, FrameDriver* driver, kt::KTDirector& director);

}  // namespace moonbrook
