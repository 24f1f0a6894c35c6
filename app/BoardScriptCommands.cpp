#include "app/BoardScriptCommands.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "app/BoardDump.h"
#include "app/JsonFile.h"
#include "app/NumberParsing.h"
#include "engine/core/KTFormat.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {
namespace {

using kt::KTEvent;

constexpr std::uint64_t kDefaultIdleFrames = 3600;
// A drag moves the pointer a quarter of a cell per frame, like a quick hand.
constexpr int kDragStepsPerCell = 4;
constexpr int kLeftButton = 1;

// A whole number in a range, negative ones included; the problem goes to the arguments.
int wholeNumber(ScriptArguments& arguments, std::string_view what, int lowest, int highest) {
    const std::string word = arguments.word(what);
    if (!arguments.ok()) return 0;
    const std::optional<int> value = parseNumber<int>(word);
    if (!value || *value < lowest || *value > highest) {
        arguments.fail(kt::KTFormat("%@ must be a whole number from %i to %i, not '%@'", std::string(what),
                                    lowest, highest, word));
        return 0;
    }
    return *value;
}

kt::KTPosition cellPosition(ScriptArguments& arguments) {
    const int x = wholeNumber(arguments, "CX", 0, static_cast<int>(kSizeX) - 1);
    const int y = wholeNumber(arguments, "CY", 0, static_cast<int>(kSizeY) - 1);
    return {x, y};
}

std::shared_ptr<Board> runningBoard(ScriptContext& context) {
    const auto& scene = context.director().currentScene();
    return scene ? findBoard(*scene) : nullptr;
}

// The cell's centre on the logical screen, or none (with the script's failure set) when there is no such
// cell.
std::optional<kt::CGPoint> cellCentre(ScriptContext& context, kt::KTPosition position) {
    const auto board = runningBoard(context);
    if (!board) {
        context.fail("no board is running");
        return std::nullopt;
    }
    const auto cell = board->cellAt(position.x, position.y);
    if (!cell) {
        context.fail(kt::KTFormat("the board has no cell at %i %i", position.x, position.y));
        return std::nullopt;
    }
    return cell->absoluteCenter();
}

ScriptAction clickCell(ScriptArguments& arguments) {
    const kt::KTPosition position = cellPosition(arguments);
    return [position](ScriptContext& context) {
        const auto at = cellCentre(context, position);
        if (!at) return ScriptStatus::failed;
        context.injectPointerEvent(KTEvent::Type::mouseMove, *at);
        context.injectPointerEvent(KTEvent::Type::mouseDown, *at, kLeftButton);
        context.injectPointerEvent(KTEvent::Type::mouseUp, *at, kLeftButton);
        return ScriptStatus::yield;
    };
}

// Press on the cell in the first turn, then one pointer step per frame, and the release at the end.
ScriptAction dragCell(ScriptArguments& arguments) {
    const kt::KTPosition from = cellPosition(arguments);
    const int dx = wholeNumber(arguments, "DX", -static_cast<int>(kSizeX), static_cast<int>(kSizeX));
    const int dy = wholeNumber(arguments, "DY", -static_cast<int>(kSizeY), static_cast<int>(kSizeY));
    const int steps = std::max(1, (std::abs(dx) + std::abs(dy)) * kDragStepsPerCell);
    return [from, dx, dy, steps, step = 0, start = kt::CGPoint()](ScriptContext& context) mutable {
        if (step == 0) {
            const auto at = cellCentre(context, from);
            if (!at) return ScriptStatus::failed;
            start = *at;
            context.injectPointerEvent(KTEvent::Type::mouseMove, start);
            context.injectPointerEvent(KTEvent::Type::mouseDown, start, kLeftButton);
        } else {
            const float share = static_cast<float>(step) / static_cast<float>(steps);
            const kt::CGPoint at{start.x + share * static_cast<float>(dx) * kCellW,
                                 start.y + share * static_cast<float>(dy) * kCellH};
            context.injectPointerEvent(KTEvent::Type::mouseMove, at);
            if (step == steps) {
                context.injectPointerEvent(KTEvent::Type::mouseUp, at, kLeftButton);
                return ScriptStatus::yield;
            }
        }
        ++step;
        return ScriptStatus::waiting;
    };
}

ScriptAction waitIdle(ScriptArguments& arguments) {
    const std::optional<std::string> limit = arguments.optionalWord();
    std::uint64_t maxFrames = kDefaultIdleFrames;
    if (limit) {
        ScriptArguments limitArgument(*limit);
        maxFrames = limitArgument.count("MAX");
        if (!limitArgument.ok()) arguments.fail(limitArgument.error());
    }
    return [maxFrames, frames = std::uint64_t{0}](ScriptContext& context) mutable {
        const auto board = runningBoard(context);
        if (!board) return context.fail("no board is running");
        if (board->idle() || frames >= maxFrames) return ScriptStatus::finished;
        ++frames;
        return ScriptStatus::waiting;
    };
}

ScriptAction dumpBoard(ScriptArguments& arguments) {
    return [path = arguments.rest("file name")](ScriptContext& context) {
        const auto board = runningBoard(context);
        if (!board) return context.fail("no board is running");
        return writeJsonFile(context, path, describeBoard(*board));
    };
}

}  // namespace

void addBoardScriptCommands(ScriptCommandRegistry& commands) {
    commands.add("click-cell", clickCell);
    commands.add("drag-cell", dragCell);
    commands.add("wait-idle", waitIdle);
    commands.add("dump board", dumpBoard);
}

}  // namespace moonbrook
