#include "game/board/BallGenerator.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/KTRandom.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/BoardRules.h"

namespace moonbrook {

namespace {

template <typename T, typename... Args>
std::shared_ptr<Ball> makeBall(const std::shared_ptr<Board>& board, Args... args) {
    auto ball = std::make_shared<T>();
    ball->init(board, args...);
    return ball;
}

}  // namespace

BallGenerator::BallGenerator(const std::shared_ptr<Board>& board, kt::KTPlist probs, kt::KTPlist delays)
    : probs_(std::move(probs)), delays_(std::move(delays)), board_(board) {}

std::shared_ptr<Ball> BallGenerator::generateBall() {
    // Each letter draws one lot for every whole number below weight * 10: 0.35 gives 4, 1 gives 10. The lots are
    // counted, not listed, and held to a bound, so a damaged weight (too large to count, infinite) cannot
    // exhaust the memory.
    constexpr float kMostLots = 10000;
    std::vector<std::pair<const std::string*, std::size_t>> lots;
    std::size_t total = 0;
    for (const auto& [letter, weight] : probs_.dictionaryValue()) {
        if (letter.empty()) continue;
        if (static_cast<float>(delays_[letter].intValue()) > playTime_) continue;
        const float copies = static_cast<float>(weight.realValue()) * 10;
        if (!(copies > 0)) continue;
        const auto count = static_cast<std::size_t>(std::min(std::ceil(copies), kMostLots));
        lots.emplace_back(&letter, count);
        total += count;
    }
    if (total == 0) return nullptr;
    std::size_t pick = static_cast<std::size_t>(kt::KTRandom::shared().next()) % total;
    for (const auto& [letter, count] : lots) {
        if (pick < count)
            return generateBallOfType(static_cast<char16_t>(static_cast<unsigned char>(letter->front())));
        pick -= count;
    }
    return nullptr;
}

std::shared_ptr<Ball> BallGenerator::generateBallOfType(char16_t type) {
    const auto board = board_.lock();
    switch (ballKindOf(type)) {
        case BallKind::ghost:
            return makeBall<Ghost>(board, kGhostTime);
        case BallKind::bomb:
            return makeBall<Bomb>(board, type);
        case BallKind::hameleon:
            return makeBall<Hameleon>(board, type);
        case BallKind::rocket:
            return makeBall<RocketBall>(board, type);
        case BallKind::colorDestroyer:
            return makeBall<ColorDestroyer>(board, type);
        case BallKind::diamond:
            return makeBall<Diamond>(board, type);
        case BallKind::token: {
            auto token = makeBall<Token>(board, type);
            if (board) board->incTokens();
            return token;
        }
        case BallKind::ordinary:
            break;
    }
    return makeBall<Ball>(board, type);
}

}  // namespace moonbrook
