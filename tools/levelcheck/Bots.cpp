#include "tools/levelcheck/Bots.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "engine/core/KTDirector.h"
#include "game/board/Ball.h"
#include "game/board/BallKinds.h"
#include "game/board/BoardRules.h"
#include "game/board/CandyRequestManager.h"
#include "game/board/Cell.h"
#include "game/progress/Powerup.h"
#include "game/progress/PowerupManager.h"

namespace moonbrook::levelcheck {

namespace {

// Weights of the goals in a move's value: a plate or a collected piece counts far more than points.
constexpr double kPlateWeight = 100;
constexpr double kCollectableWeight = 60;
constexpr double kRequestWeight = 50;
constexpr double kWinWeight = 1e6;
// A swap that sets off a special ball is worth about this many removed balls.
constexpr double kDetonationBalls = 5;
// The lookahead plays out only the best candidates by their immediate value.
constexpr std::size_t kLookaheadCandidates = 3;
constexpr int kLookaheadMaxFrames = 1200;

bool swappable(const CellRef& cell) {
    if (!cell || !cell->exists() || cell->locked() || cell->crate() || !cell->enabled() || cell->target())
        return false;
    const auto& ball = cell->ball();
    return ball && !ball->moving() && !ball->target() && !isGhost(ball.get());
}

bool collectable(const Ball* ball) {
    return dynamic_cast<const Token*>(ball) || dynamic_cast<const Diamond*>(ball);
}

// The index of the best value; equal best values are chosen between by the generator.
std::size_t bestIndex(const std::vector<double>& values, kt::KTRandom& tieBreak) {
    const double best = *std::ranges::max_element(values);
    std::vector<std::size_t> ties;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] == best) ties.push_back(i);
    }
    return ties[static_cast<std::size_t>(tieBreak.next()) % ties.size()];
}

// The goals as they stand, for comparing a board before and after a move.
struct Goals {
    int plates = 0;
    int tokens = 0;
    int requested = 0;
    unsigned score = 0;
    bool won = false;
};

Goals goalsOf(const Board& board) {
    const auto& requests = board.candyRequestManager();
    return {board.platesCount(), board.tokensCount(), requests ? requests->ballsRequested() : 0,
            board.score(), board.pause()};
}

double progress(const Goals& before, const Goals& after) {
    return kPlateWeight * (before.plates - after.plates) +
           kCollectableWeight * (before.tokens - after.tokens) +
           kRequestWeight * (before.requested - after.requested) +
           (static_cast<double>(after.score) - static_cast<double>(before.score)) / kPointsPerBall +
           (after.won ? kWinWeight : 0);
}

class RandomBot final : public Bot {
public:
    Turn chooseSwap(Board&, const std::vector<Turn>& swaps, kt::KTRandom& tieBreak) override {
        return swaps[static_cast<std::size_t>(tieBreak.next()) % swaps.size()];
    }
};

class GreedyBot final : public Bot {
public:
    Turn chooseSwap(Board& board, const std::vector<Turn>& swaps, kt::KTRandom& tieBreak) override {
        std::vector<double> values;
        for (const Turn& swap : swaps)
            values.push_back(immediateValue(board, swap));
        return swaps[bestIndex(values, tieBreak)];
    }
};

// Plays the swap in a copy of this process until the board settles and answers its progress; the copy
// ends there, so the real run goes on untouched. Falls back to the immediate value when no copy can be made.
double settledValue(Board& board, const Turn& swap) {
    std::array<int, 2> pipeEnds{};
    if (pipe(pipeEnds.data()) != 0) return immediateValue(board, swap);
    const pid_t child = fork();
    if (child < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return immediateValue(board, swap);
    }
    if (child == 0) {
        close(pipeEnds[0]);
        const Goals before = goalsOf(board);
        playSwap(board, swap);
        kt::KTDirector& director = kt::KTDirector::shared();
        for (int frame = 0, idle = 0; frame < kLookaheadMaxFrames && idle < 2 && !board.pause(); ++frame) {
            director.doUpdate();
            idle = board.idle() ? idle + 1 : 0;
        }
        const double value = progress(before, goalsOf(board));
        const bool written = write(pipeEnds[1], &value, sizeof value) == static_cast<ssize_t>(sizeof value);
        _exit(written ? 0 : 1);
    }
    close(pipeEnds[1]);
    double value = 0;
    const bool read = ::read(pipeEnds[0], &value, sizeof value) == static_cast<ssize_t>(sizeof value);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return read ? value : immediateValue(board, swap);
}

class LookaheadBot final : public Bot {
public:
    Turn chooseSwap(Board& board, const std::vector<Turn>& swaps, kt::KTRandom& tieBreak) override {
        std::vector<std::pair<double, std::size_t>> ranked;
        for (std::size_t i = 0; i < swaps.size(); ++i)
            ranked.emplace_back(-immediateValue(board, swaps[i]), i);
        // Stable order keeps the column order among equal immediate values.
        std::ranges::stable_sort(ranked, {}, [](const auto& entry) { return entry.first; });
        ranked.resize(std::min(ranked.size(), kLookaheadCandidates));
        std::vector<double> values;
        for (const auto& [immediate, index] : ranked)
            values.push_back(settledValue(board, swaps[index]));
        return swaps[ranked[bestIndex(values, tieBreak)].second];
    }
};

// Ball counts of the ordinary colours, over the plated cells when any has a plate, else over all cells.
char16_t mostCoveringColour(const Board& board) {
    std::map<char16_t, int> onPlates;
    std::map<char16_t, int> anywhere;
    for (const CellRef& cell : board.cellsByColumn()) {
        if (!swappable(cell) || cell->ball()->type() > kLastOrdinaryBall) continue;
        const char16_t type = cell->ball()->type();
        ++anywhere[type];
        if (cell->plates() > 0) ++onPlates[type];
    }
    const auto& counts = onPlates.empty() ? anywhere : onPlates;
    if (counts.empty()) return u'\0';
    return std::ranges::max_element(counts, {}, [](const auto& entry) { return entry.second; })->first;
}

CellRef hammerTarget(const Board& board, bool stuck) {
    CellRef best;
    for (const CellRef& cell : board.cellsByColumn()) {
        if (!cell->ball() || isGhost(cell->ball().get()) || collectable(cell->ball().get())) continue;
        if (cell->plates() > (best ? best->plates() : 0) || (stuck && !best)) best = cell;
    }
    return best;
}

CellRef colorTarget(const Board& board) {
    const char16_t colour = mostCoveringColour(board);
    for (const CellRef& cell : board.cellsByColumn()) {
        if (swappable(cell) && cell->ball()->type() == colour && (cell->plates() > 0 || !board.hasPlates()))
            return cell;
    }
    return nullptr;
}

bool charged(const std::string& name) {
    const auto powerup = PowerupManager::currentPowerupManager().getPowerupByName(name);
    return powerup && powerup->level() > 0;
}

}  // namespace

std::vector<Turn> validSwaps(Board& board) {
    std::vector<Turn> swaps;
    for (const CellRef& cell : board.cellsByColumn()) {
        if (!swappable(cell)) continue;
        for (const auto& [dx, dy] : {std::pair{0, 1}, std::pair{1, 0}}) {
            const CellRef neighbour = board.cellAt(cell->x() + dx, cell->y() + dy);
            if (!swappable(neighbour)) continue;
            board.swapCell(*cell, *neighbour);
            const bool resultative = board.judgeSwap(*cell, *neighbour).resultative;
            board.swapCell(*cell, *neighbour);
            if (resultative) swaps.push_back({cell, neighbour});
        }
    }
    return swaps;
}

void playSwap(Board& board, const Turn& swap) {
    board.setSelected(swap.cell);
    board.startSwapWith(swap.neighbour);
}

double immediateValue(Board& board, const Turn& swap) {
    board.swapCell(*swap.cell, *swap.neighbour);
    const SwapJudgement judgement = board.judgeSwap(*swap.cell, *swap.neighbour);
    CellList removed = judgement.lineA;
    removed.insert(removed.end(), judgement.lineB.begin(), judgement.lineB.end());
    removed = Board::uniqueCells(std::move(removed));
    const auto& requests = board.candyRequestManager();
    double value = static_cast<double>(removed.size());
    std::set<const Ball*> lowered;
    for (const CellRef& cell : removed) {
        if (cell->plates() > 0) value += kPlateWeight;
        if (requests && cell->ball() && requests->haveRequestForType(cell->ball()->type()))
            value += kRequestWeight;
        for (int y = cell->y() - 1; y >= 0; --y) {
            const CellRef above = board.cellAt(cell->x(), y);
            if (above && collectable(above->ball().get())) lowered.insert(above->ball().get());
        }
    }
    value += kCollectableWeight * static_cast<double>(lowered.size());
    for (const CellRef& cell : {swap.cell, swap.neighbour}) {
        if (cell->ball() && cell->ball()->canDetonate()) value += kDetonationBalls;
    }
    board.swapCell(*swap.cell, *swap.neighbour);
    return value;
}

bool usePowerup(Board& board, bool stuck) {
    if (charged("bonuses")) {
        board.placeRandomBonuses();
        return true;
    }
    if (charged("random")) {
        board.removeRandomBlocks();
        return true;
    }
    if (charged("hammer")) {
        if (const CellRef cell = hammerTarget(board, stuck)) {
            board.hammerClickAt(cell);
            return true;
        }
    }
    if (charged("color")) {
        if (const CellRef cell = colorTarget(board)) {
            board.removeColorClickAt(cell);
            return true;
        }
    }
    return false;
}

const std::vector<std::string>& botNames() {
    static const std::vector<std::string> names{"random", "greedy", "lookahead"};
    return names;
}

std::unique_ptr<Bot> makeBot(std::string_view name) {
    if (name == "random") return std::make_unique<RandomBot>();
    if (name == "greedy") return std::make_unique<GreedyBot>();
    if (name == "lookahead") return std::make_unique<LookaheadBot>();
    return nullptr;
}

}  // namespace moonbrook::levelcheck
