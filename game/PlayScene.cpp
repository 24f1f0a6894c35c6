#include "game/PlayScene.h"

#include <algorithm>

#include "engine/core/KTLog.h"
#include "game/ScenePresentation.h"
#include "game/board/Board.h"
#include "game/board/GameBoardController.h"

namespace moonbrook {

namespace {

constexpr const char* kBoardHolder = "board";
constexpr const char* kWinEffectHolder = "win_effect_holder";
constexpr kt::CGPoint kScreenCentre{512, 384};

}  // namespace

const kt::KTClass& PlayScene::staticClass() {
    static const kt::KTClass& cls = kt::KTClass::define<PlayScene>("PlayScene", kt::KTScene::staticClass())
                                        .operation("hammer", &PlayScene::hammer)
                                        .operation("remcolor", &PlayScene::remcolor)
                                        .operation("default", &PlayScene::defaultMode)
                                        .operation("removeRandomBlocks", &PlayScene::removeRandomBlocks)
                                        .operation("placeRandomBonuses", &PlayScene::placeRandomBonuses)
                                        .operation("showTutorial:", &PlayScene::showTutorial)
                                        .operation("win", &PlayScene::win);
    return cls;
}
KT_REGISTER_CLASS(PlayScene);

std::shared_ptr<PlayScene> PlayScene::sceneWithLevel(const std::string& levelName) {
    auto scene = kt::KTNode::node<PlayScene>();
    scene->loadFromFile(kSceneFile);
    scene->levelName_ = levelName;
    kt::KTLog("PlayScene level: %@", levelName);
    return scene;
}

void PlayScene::onEnterStage() {
    kt::KTScene::onEnterStage();
    if (!board_) createBoard();
}

void PlayScene::createBoard() {
    board_ = Board::boardWithLevel(levelName_);
    board_->setPresentation(std::make_shared<ScenePresentation>(sharedAs<kt::KTScene>()));
    if (auto holder = getChildByName(kBoardHolder)) {
        holder->addChild(board_);
    } else {
        kt::KTLog("PlayScene: no node named %@ in %@", kBoardHolder, kSceneFile);
        addChild(board_);
    }
    board_->reset();
    board_->setPause(false);
}

void PlayScene::onExitStage() {
    if (auto controller = GameBoardController::shared(); controller && controller->board() == board_) {
        controller->setBoard(nullptr);
    }
    kt::KTScene::onExitStage();
}

void PlayScene::buttonDown(kt::ButtonName button, kt::CGPoint point) {
    if (button == kt::ButtonName::msRight) defaultMode();
    kt::KTScene::buttonDown(button, point);
}

void PlayScene::hammer() {
    if (board_) board_->enterHammerMode();
}

void PlayScene::remcolor() {
    if (board_) board_->enterRemoveColorMode();
}

void PlayScene::defaultMode() {
    if (board_) board_->enterNormalMode();
}

void PlayScene::removeRandomBlocks() {
    if (board_) board_->removeRandomBlocks();
}

void PlayScene::placeRandomBonuses() {
    if (board_) board_->placeRandomBonuses();
}

void PlayScene::showTutorial(const std::string& name) {
    if (std::ranges::find(requestedTutorials_, name) != requestedTutorials_.end()) return;
    kt::KTLog("tutorial requested: %@", name);
    requestedTutorials_.push_back(name);
}

void PlayScene::win() {
    if (board_) board_->stopEverything();
    if (auto holder = getChildByName(kWinEffectHolder)) {
        holder->setEnabled(true);
        holder->setVisible(true);
        holder->startEffect(kWinEffect, kScreenCentre);
    }
    setState("win");
}

}  // namespace moonbrook
