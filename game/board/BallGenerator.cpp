#include "game/board/BallGenerator.h"

#include <string>
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
    std::vector<const std::string*> candidates;
    for (const auto& [letter, weight] : probs_.dictionaryValue()) {
        if (letter.empty()) continue;
        if (static_cast<float>(delays_[letter].intValue()) > playTime_) continue;
        // One copy for every whole number below weight * 10: 0.35 gives 4, 1 gives 10.
        const float copies = static_cast<float>(weight.realValue()) * 10;
        for (int i = 0; static_cast<float>(i) < copies; ++i)
            candidates.push_back(&letter);
    }
    if (candidates.empty()) return nullptr;
    const auto pick = static_cast<std::size_t>(kt::KTRandom::shared().next()) % candidates.size();
    return generateBallOfType(static_cast<char16_t>(static_cast<unsigned char>(candidates[pick]->front())));
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
