#include "game/board/BallKinds.h"

#include "engine/core/KTLog.h"
#include "engine/core/KTRenderer.h"
#include "game/board/Board.h"
#include "game/board/BoardRules.h"
#include "game/board/Cell.h"
#include "game/progress/Powerup.h"
#include "game/progress/PowerupManager.h"

namespace moonbrook {

namespace {

// The cell the ball rests in, kept alive while the board works on it.
std::shared_ptr<Cell> restingCell(const Ball& ball) {
    Cell* cell = ball.cell();
    return cell ? cell->sharedAs<Cell>() : nullptr;
}

// The field ends below the cell: the last row, or a hole in the outline.
bool onLowerEdge(const Board& board, const Cell& cell) {
    const auto below = board.cellAt(cell.x(), cell.y() + 1);
    return !below || !below->exists();
}

}  // namespace

#define MOONBROOK_BALL_CLASS(Name)                                                             \
    const kt::KTClass& Name::staticClass() {                                                   \
        static const kt::KTClass& cls = kt::KTClass::define<Name>(#Name, Ball::staticClass()); \
        return cls;                                                                            \
    }                                                                                          \
    KT_REGISTER_CLASS(Name)

MOONBROOK_BALL_CLASS(Ghost);
MOONBROOK_BALL_CLASS(Bomb);
MOONBROOK_BALL_CLASS(RocketBall);
MOONBROOK_BALL_CLASS(ColorDestroyer);
MOONBROOK_BALL_CLASS(Diamond);
MOONBROOK_BALL_CLASS(Token);
MOONBROOK_BALL_CLASS(Hameleon);
MOONBROOK_BALL_CLASS(BadBall);

void Ghost::init(const std::shared_ptr<Board>& board, float lifeTime) {
    Ball::init(board, u'0');
    life_ = lifeTime;
    scheduleUpdate();
    // Blocks its cell without counting as a ball in flight.
    setMovingFlag(true);
}

void Ghost::update(float dt) {
    life_ -= dt;
    if (life_ > 0) return;
    unscheduleUpdate();
    if (KTNode* owner = parent()) owner->removeChild(this);
}

void Ghost::visit() {
    if (visible()) draw();
}

void Ghost::draw() {
    const auto owner = board();
    kt::KTRenderer* renderer = render();
    if (!owner || !owner->debugRender() || !renderer) return;
    renderer->push();
    renderer->pushColor();
    renderer->setColor(kt::KTMakeColor(0xf0ffffffu));
    renderer->setImageData(nullptr);
    renderer->drawRect({position(), {27, 27}});
    renderer->popColor();
    renderer->pop();
}

void Bomb::detonate() {
    if (detonated()) return;
    const auto owner = board();
    kt::KTLog("detonnate %@", description());
    setDetonated(true);
    const auto cell = restingCell(*this);
    if (!owner || !cell) return;
    owner->explodeAt(cell, type());
    if (!dynamic_cast<const Ghost*>(cell->ball().get())) owner->removeBallAt(cell);
    kt::KTLog("detonate end?");
}

void RocketBall::detonate() {
    if (detonated()) return;
    setDetonated(true);
    const auto owner = board();
    const auto cell = restingCell(*this);
    if (!owner || !cell) return;
    for (const Offset& direction : rocketDirections(type()))
        owner->startRocketAt(*cell, direction.dx, direction.dy);
    owner->removeBallAt(cell);
}

void ColorDestroyer::detonateWith(Ball& partner) {
    const auto owner = board();
    const auto cell = restingCell(*this);
    if (!owner || !cell) return;
    const int level = colorDestroyerLevel(type());
    int size = 0;
    if (const auto powerup = PowerupManager::currentPowerupManager().getPowerupByName("color"))
        size = static_cast<int>(powerup->optionsForLevel(level)["size"].intValue());
    owner->removeColor(partner.type(), cell, size);
}

void Diamond::detonate() {
    if (!detonated()) annihilate();
}

void Diamond::annihilate() {
    const auto owner = board();
    if (!owner) return;
    const auto self = sharedAs<Diamond>();
    // The removal below sets the diamond off again; it is collected only once.
    setDetonated(true);
    owner->addScore(diamondValue(type()));
    setMoving(false);
    if (const auto cell = restingCell(*this)) owner->removeBallAt(cell);
    owner->finalizeRemove();
}

void Diamond::moveEnd() {
    const auto owner = board();
    const Cell* cell = this->cell();
    if (owner && cell && onLowerEdge(*owner, *cell)) annihilate();
}

void Token::moveEnd() {
    const auto owner = board();
    const auto cell = restingCell(*this);
    if (!owner || !cell || !onLowerEdge(*owner, *cell)) return;
    const auto self = sharedAs<Token>();
    setMoving(false);
    owner->removeBallAt(cell, true);
    owner->finalizeRemove();
    owner->decTokens();
}

bool Hameleon::matchWith(const Ball& other) const {
    return other.type() <= kLastOrdinaryBall;
}

}  // namespace moonbrook
