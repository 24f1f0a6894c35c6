// libFuzzer target: an automation script checked against every command the program knows (run by
// tools/fuzz.sh).
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/Application.h"
#include "app/Script.h"
#include "tests/fuzz/FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const moonbrook::ScriptCommandRegistry commands = moonbrook::scriptCommands();
    std::string error;
    moonbrook::Script::parse(kt::fuzz::FuzzEngine::text(data, size), "fuzz.txt", commands, error);
    return 0;
}
