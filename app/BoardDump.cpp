#include "app/BoardDump.h"

#include <string>

#include "engine/render/KTUnicode.h"
#include "game/board/Ball.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {
namespace {

std::string letterText(char16_t letter) {
    return kt::KTUTF8FromUTF16(std::u16string_view(&letter, 1));
}

nlohmann::json describeCell(const Cell& cell) {
    const auto& ball = cell.ball();
    return {
        {"x", cell.x()},
        {"y", cell.y()},
        {"ball", ball ? nlohmann::json(letterText(ball->type())) : nlohmann::json(nullptr)},
        {"plates", cell.plates()},
        {"locked", cell.locked()},
        {"crate", letterText(cell.crateType())},
        {"crate_level", cell.crateLevel()},
        {"emitter", cell.emitter()},
        // A cell of the field, which holds, takes and swaps balls; an emitter position is not one.
        {"playable", cell.exists()},
        {"enabled", cell.enabled()},
        {"target", cell.target()},
    };
}

}  // namespace

std::shared_ptr<Board> findBoard(const kt::KTNode& root) {
    const auto& children = root.children();
    for (std::size_t i = 0; i < children.count(); ++i) {
        const auto child = children.objectAtIndex(i);
        if (auto board = std::dynamic_pointer_cast<Board>(child)) return board;
        if (auto board = findBoard(*child)) return board;
    }
    return nullptr;
}

nlohmann::json describeBoard(const Board& board) {
    nlohmann::json cells = nlohmann::json::array();
    for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
        for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
            if (const auto cell = board.gridEntryAt(x, y)) cells.push_back(describeCell(*cell));
        }
    }
    const auto selected = board.selected();
    return {
        {"level", board.levelName()},
        {"score", board.score()},
        {"play_time", board.playTime()},
        {"moving", board.movingCount()},
        {"paused", board.pause()},
        {"plates_count", board.platesCount()},
        {"start_plates_count", board.startPlatesCount()},
        {"tokens_count", board.tokensCount()},
        {"click_mode", static_cast<int>(board.clickMode())},
        {"selected",
         selected ? nlohmann::json::array({selected->x(), selected->y()}) : nlohmann::json(nullptr)},
        {"cells", std::move(cells)},
    };
}

}  // namespace moonbrook
