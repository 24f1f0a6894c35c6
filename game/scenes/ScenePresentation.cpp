#include "game/scenes/ScenePresentation.h"

#include <algorithm>

#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTControllerManager.h"
#include "engine/core/KTFormat.h"
#include "engine/render/KTLightning.h"
#include "engine/render/KTSprite.h"
#include "engine/render/KTText.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/board/Board.h"
#include "game/board/BoardRules.h"
#include "game/board/Cell.h"
#include "game/board/GameBoardController.h"
#include "game/progress/LevelManager.h"
#include "game/progress/Powerup.h"
#include "game/progress/PowerupManager.h"

namespace moonbrook {

namespace {

constexpr int kBoltsPerJump = 3;
constexpr const char* kNoMoveNotice = "no_move_notice";

// Puts a sprite where the cell is on screen, whatever the layer's own place in the scene.
void addMarker(kt::KTNode& layer, const Cell& cell, const char* spritePath) {
    auto marker = kt::KTNode::nodeFromFile<kt::KTSprite>(spritePath);
    marker->moveTo(kt::CGPointSub(cell.absolutePosition(), layer.absolutePosition()));
    layer.addChild(std::move(marker));
}

std::string starsName(int stars) {
    return kt::KTFormat("%i", stars);
}

}  // namespace

ScenePresentation::ScenePresentation(const std::shared_ptr<kt::KTScene>& scene) : scene_(scene) {}

kt::KTNode::Ref ScenePresentation::node(std::string_view name) const {
    const auto scene = scene_.lock();
    return scene ? scene->getChildByName(name) : nullptr;
}

void ScenePresentation::setText(std::string_view name, const std::string& text) const {
    if (const auto found = node(name)) found->setText(text);
}

void ScenePresentation::setTime(std::string_view name, float seconds) const {
    if (const auto text = std::dynamic_pointer_cast<kt::KTText>(node(name))) text->setTime(seconds);
}

kt::CGPoint ScenePresentation::scenePoint(kt::CGPoint boardPoint) const {
    const auto scene = scene_.lock();
    const auto board = board_.lock();
    if (!scene || !board) return boardPoint;
    return kt::CGPointAdd(kt::CGPointSub(board->absolutePosition(), scene->absolutePosition()), boardPoint);
}

int ScenePresentation::shownPlates() const {
    const auto board = board_.lock();
    return userPlates_ + (board ? board->yieldedPlates() : 0);
}

int ScenePresentation::shownTokens() const {
    const auto board = board_.lock();
    return userTokens_ + (board ? board->yieldedTokens() : 0);
}

void ScenePresentation::bind(Board& board) {
    board_ = board.sharedAs<Board>();
    for (const char* layer : {"turns", "highlights", "candy_requestors"}) {
        if (const auto found = node(layer)) found->removeAllChildren();
    }
    showSelection(nullptr);
    showPointer(nullptr);
    showNoMoveNotice(false);

    auto& powerups = PowerupManager::currentPowerupManager();
    for (const char* name : {"hammer", "random", "color", "bonuses"}) {
        if (const auto powerup = powerups.getPowerupByName(name))
            powerup->setButton(node(kt::KTFormat("powerup_%@", name)));
    }
    const auto user = kt::KTUserManager::sharedManager().selectedUser();
    userPlates_ = user ? user->amountOfResource("plates") : 0;
    userTokens_ = user ? user->tokens() : 0;

    auto controller = std::dynamic_pointer_cast<GameBoardController>(
        kt::KTControllerManager::shared().getControllerByName("GameBoardController"));
    controller_ = controller;
    if (!controller) return;
    controller->setBoard(board.sharedAs<Board>());
    // Players count the levels across episodes, whatever the files are called.
    controller->levelName()->setString(
        kt::KTFormat("%u", LevelManager::sharedManager().levelPosition(board.levelName()) + 1));
}

void ScenePresentation::showHud(const Board& board) {
    setText("score", kt::KTFormat("%u", board.score()));
    setText("plates_count", kt::KTFormat("%i", shownPlates()));
    setText("tokens_count", kt::KTFormat("%i", shownTokens()));
    if (const auto time = node("time")) time->perform("setTime:", kt::KTFormat("%f", board.playTime()));
    if (const auto timeStars = node("timeStars")) {
        const int stars = LevelManager::sharedManager().levelStars(board.levelName(), board.playTime());
        timeStars->perform("selectChildByName:", starsName(std::clamp(stars, 1, 3)));
    }
    const auto controller = controller_.lock();
    if (!controller) return;
    controller->gameScore()->setNumber(board.score());
    controller->platesCount()->setNumber(shownPlates());
    controller->tokensCount()->setNumber(shownTokens());
    // A level without a time limit shows an empty bar rather than dividing by zero.
    controller->timeProgress()->setNumber(board.timeLimit() > 0 ? 1 - board.playTime() / board.timeLimit()
                                                                : 0);
}

void ScenePresentation::showHints(const std::vector<Turn>& turns) {
    const auto layer = node("turns");
    if (!layer) return;
    layer->removeAllChildren();
    for (const Turn& turn : turns) {
        for (const Cell* cell : {turn.cell.get(), turn.neighbour.get()})
            addMarker(*layer, *cell, "data/gfx/board/hint.sprite.xml");
    }
}

void ScenePresentation::showSelection(const Cell* cell) {
    const auto marker = node("selection_marker");
    if (!marker) return;
    marker->setVisible(cell != nullptr);
    if (!cell) return;
    const kt::CGPoint origin = marker->parent() ? marker->parent()->absolutePosition() : kt::CGPointZero;
    marker->moveTo(kt::CGPointSub(cell->absolutePosition(), origin));
}

void ScenePresentation::showHighlights(Highlight kind, const std::vector<std::shared_ptr<Cell>>& cells) {
    const auto layer = node("highlights");
    if (!layer) return;
    layer->removeAllChildren();
    const char* sprite = kind == Highlight::plates ? "data/gfx/board/plate_hl.sprite.xml"
                                                   : "data/gfx/board/coin_hl.sprite.xml";
    for (const auto& cell : cells)
        addMarker(*layer, *cell, sprite);
}

kt::KTNode::Ref ScenePresentation::startEffect(const std::string& path, EffectLayer layer,
                                               kt::CGPoint point) {
    const auto board = board_.lock();
    if (!board) return nullptr;
    switch (layer) {
        case EffectLayer::board:
            return board->startEffect(path, point);
        case EffectLayer::field:
            if (kt::KTNode* field = board->parent())
                return field->startEffect(path, kt::CGPointAdd(board->position(), point));
            return nullptr;
        case EffectLayer::scene:
            if (const auto scene = scene_.lock()) return scene->startEffect(path, scenePoint(point));
            return nullptr;
    }
    return nullptr;
}

void ScenePresentation::showBolt(kt::CGPoint from, kt::CGPoint to, float delay) {
    const auto scene = scene_.lock();
    if (!scene) return;
    for (int bolt = 0; bolt < kBoltsPerJump; ++bolt) {
        auto lightning = kt::KTNode::node<kt::KTLightning>();
        lightning->loadFromFile("data/effects/pw_remove_color_step.xml");
        lightning->setPosition(scenePoint(from));
        lightning->setPosition2(scenePoint(to));
        lightning->setVisible(false);
        scene->addChild(lightning);
        lightning->runAction(kt::KTSequence::actions(
            {kt::KTWait::waitFor(delay), kt::KTShow::action(),
             kt::KTStartEffect::actionWithEffectFilename("data/effects/lightning_sound.xml"),
             kt::KTWait::waitFor(kLightningRemoveDelay), kt::KTRemove::action()}));
    }
}

void ScenePresentation::showPointer(const char* decorationFile) {
    const auto scene = scene_.lock();
    if (!scene) return;
    if (!decorationFile) {
        scene->setUnderMouse(nullptr);
        return;
    }
    auto decoration = kt::KTNode::node();
    decoration->loadFromFile(decorationFile);
    scene->setUnderMouse(std::move(decoration));
}

std::shared_ptr<kt::KTNode> ScenePresentation::requestorHolder(int slot) {
    return node(kt::KTFormat("candy_requestor%i", slot));
}

void ScenePresentation::showTutorial(const std::string& key) {
    const auto scene = scene_.lock();
    if (scene && scene->respondsTo("showTutorial:")) scene->perform("showTutorial:", key);
}

void ScenePresentation::showNoMoveNotice(bool shown) {
    if (const auto notice = node(kNoMoveNotice)) notice->setVisible(shown);
}

void ScenePresentation::levelWon(const Board& board) {
    LevelManager& levels = LevelManager::sharedManager();
    if (const auto stars = node("stars"))
        stars->perform("selectChildByName:",
                       starsName(levels.levelStars(board.levelName(), board.playTime())));
    setText("final_score", kt::KTFormat("%u", board.score()));
    setText("final_gold", kt::KTFormat("%i", userPlates_ + board.startPlatesCount()));
    setText("final_tokens", kt::KTFormat("%i", userTokens_ + board.initialTokensCount()));
    setTime("final_time", board.playTime());

    if (const auto user = kt::KTUserManager::sharedManager().selectedUser()) {
        user->addTokens(board.initialTokensCount());
        user->addAmount(board.startPlatesCount(), "plates");
    }
    setTime("bestLevelTime", levels.recordResult(board.levelName(), board.playTime()));
    kt::KTUserManager::sharedManager().save();

    const auto scene = scene_.lock();
    if (scene && scene->respondsTo("win")) scene->perform("win");
}

}  // namespace moonbrook
