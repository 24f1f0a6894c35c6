// libFuzzer target: a level file read by the board and played until the field settles or for ten seconds
// (run by tools/fuzz.sh).
#include <cstddef>
#include <cstdint>

#include "engine/core/KTScene.h"
#include "game/board/Board.h"
#include "tests/fuzz/FuzzEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kt::fuzz::FuzzEngine& engine = kt::fuzz::FuzzEngine::shared();
    engine.writeInput("data/levels/fuzz.xml", data, size);
    const auto board = moonbrook::Board::boardWithLevel("fuzz");
    const kt::fuzz::InputScene scene;
    scene->addChild(board);
    board->reset();
    for (int frame = 0; frame < 50 && !board->idle(); ++frame)
        engine.runFrames(1, 0.2f);
    board->findAllTurns();
    return 0;
}
