#include "game/scenes/GameScene.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "engine/core/KTDirector.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTImage.h"
#include "engine/services/KTAudioManager.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/board/Board.h"
#include "game/board/GameBoardController.h"
#include "game/progress/LevelManager.h"
#include "game/progress/MenuReturn.h"
#include "game/progress/PowerupManager.h"
#include "game/scenes/PreloadScene.h"
#include "game/scenes/ScenePresentation.h"

namespace moonbrook {

namespace {

using kt::ButtonName;

constexpr kt::CGPoint kScreenCentre{512, 384};
// A white picture of the whole screen, tinted to any colour.
constexpr const char* kVeil = "data/gfx/gui/play/veil.png";
constexpr kt::Color kBlack{0xff000000};
constexpr const char* kBackgroundFolder = "data/partials/backgrounds/";
constexpr const char* kNightSky = "data/gfx/gui/play/background.png";

const std::vector<std::string>& musicList() {
    static const std::vector<std::string> list = {
        "data/music/funky_uncle_fester.ogg", "data/music/Spooky_Suspense.ogg",
        "data/music/The_Mystic.ogg",         "data/music/The_Secret_Path.ogg",
        "data/music/a_midnight_symphony.ogg", "data/music/atlantis_speaks_to_us.ogg",
        "data/music/mischief_In_suburbia.ogg", "data/music/monster-factory-complete.ogg"};
    return list;
}

// The development keys that show a tutorial, whether or not the level has its feature.
constexpr std::array<std::pair<ButtonName, const char*>, 18> kTutorialKeys = {{
    {kt::kb1, "ball_f"},    {kt::kb2, "ball_g"},   {kt::kb3, "ball_h"},      {kt::kb4, "ball_i"},
    {kt::kb5, "ball_j"},    {kt::kb6, "ball_q"},   {kt::kb7, "ball_r"},      {kt::kb8, "ball_s"},
    {kt::kb9, "basics"},    {kt::kb0, "bomb"},     {kt::kbQ, "crates_s"},    {kt::kbE, "hameleon"},
    {kt::kbR, "hammer"},    {kt::kbT, "locks"},    {kt::kbY, "remc"},        {kt::kbU, "requestors"},
    {kt::kbI, "rocket"},    {kt::kbO, "tokens"},
}};

kt::KTAudioManager& audio() {
    return kt::KTAudioManager::shared();
}

}  // namespace

const kt::KTClass& GameScene::staticClass() {
    static const kt::KTClass& cls =
        kt::KTClass::define<GameScene>("GameScene", kt::KTScene::staticClass())
            .operation("init", &GameScene::init)
            .operation("initWithLevel:", &GameScene::initWithLevel)
            .operation("setLevel:", &GameScene::setLevel)
            .operation("pause", &GameScene::pause)
            .operation("hide", &GameScene::hide)
            .operation("continue", &GameScene::resume)
            .operation("showRestartPopup", &GameScene::showRestartPopup)
            .operation("restart", &GameScene::restart)
            .operation("default", &GameScene::defaultMode)
            .operation("hammer", &GameScene::hammer)
            .operation("remcolor", &GameScene::remcolor)
            .operation("removeRandomBlocks", &GameScene::removeRandomBlocks)
            .operation("placeRandomBonuses", &GameScene::placeRandomBonuses)
            .operation("toMainMenu", &GameScene::toMainMenu)
            .operation("toMainMenuAfterWin", &GameScene::toMainMenuAfterWin)
            .operation("edit", &GameScene::edit)
            .operation("win", &GameScene::win)
            .operation("showTutorial:", &GameScene::showTutorial);
    return cls;
}
KT_REGISTER_CLASS(GameScene);

void GameScene::init() {
    loadFromFile(kSceneFile);
    kt::KTLog("GameScene init");
    board_.reset();
    noback_ = false;
    if (const auto hud = getChildByName("hud")) hud->loadFromFile(kHudFile);
}

void GameScene::initWithLevel(const std::string& levelName) {
    init();
    setLevel(levelName);
}

void GameScene::setLevel(const std::string& levelName) {
    kt::KTLog("GameScene setLevel: %@", levelName);
    levelName_ = levelName;
}

void GameScene::onEnterStage() {
    audio().setMusicList(musicList());
    audio().playMusicIdx(kt::randi(0, static_cast<int>(musicList().size()) - 1));
    kt::KTScene::onEnterStage();
    if (!board_) createBoard();
    loadBackground();
    noback_ = false;
    popup_ = false;
    board_->setPause(false);
    // A first state given by the loading step follows at once.
    setState("default");
}

void GameScene::createBoard() {
    board_ = Board::boardWithLevel(levelName_);
    board_->setPresentation(std::make_shared<ScenePresentation>(sharedAs<kt::KTScene>()));
    if (const auto holder = getChildByName("board")) {
        holder->addChild(board_);
    } else {
        kt::KTLog("GameScene: no node named board in %@", kSceneFile);
        addChild(board_);
    }
    board_->reset();
}

// The level's own background, else its episode's, else the plain night sky.
void GameScene::loadBackground() {
    const auto holder = getChildByName("background");
    if (!holder) return;
    holder->removeAllChildren();
    const auto load = [&holder](const std::string& name) {
        const std::string path = kBackgroundFolder + name;
        kt::KTLog("setting BG: %@", path);
        if (!kt::KTResourceManager::shared().getXML(path)) return false;
        auto background = kt::KTNode::node();
        background->loadFromFile(path);
        holder->addChild(std::move(background));
        return true;
    };
    const kt::KTPlist& option = board_->levelData()["options"]["background"];
    const std::string chosen = option.isString() ? option.stringValue() : std::string();
    if (!chosen.empty() && load(chosen)) return;
    const std::size_t episode = std::max<std::size_t>(1, LevelManager::sharedManager().episodeOf(levelName_));
    const std::string fallback = kt::KTFormat("episode%u.xml", episode);
    if (fallback != chosen && load(fallback)) return;
    holder->addChild(kt::KTImage::imageFromFile(kNightSky));
}

void GameScene::toggleBackground() {
    noback_ = !noback_;
    if (!noback_) {
        loadBackground();
        return;
    }
    const auto holder = getChildByName("background");
    if (!holder) return;
    holder->removeAllChildren();
    auto black = kt::KTImage::imageFromFile(kVeil);
    black->setColor(kBlack);
    holder->addChild(std::move(black));
}

void GameScene::onExitStage() {
    if (auto controller = GameBoardController::shared(); controller && controller->board() == board_) {
        controller->setBoard(nullptr);
    }
    kt::KTScene::onExitStage();
}

void GameScene::onDeactivate() {
    kt::KTScene::onDeactivate();
    if (board_ && !board_->pause()) pause();
}

void GameScene::buttonDown(kt::ButtonName button, kt::CGPoint point) {
    if (button == kt::msRight) defaultMode();
    kt::KTScene::buttonDown(button, point);
}

void GameScene::keyDown(kt::ButtonName key) {
    switch (key) {
        case kt::kbF1:
            audio().switchMusic(-1);
            return;
        case kt::kbF2:
            audio().switchMusic(1);
            return;
        case kt::kbEscape:
            if (!popup_) pause();
            return;
        case kt::kbSpace:
            if (board_) board_->startLightWave();
            return;
        default:
            break;
    }
    if (kt::KTDirector::shared().devMode()) developmentKey(key);
}

void GameScene::developmentKey(kt::ButtonName key) {
    const auto tutorial = std::ranges::find(kTutorialKeys, key, &std::pair<ButtonName, const char*>::first);
    if (tutorial != kTutorialKeys.end()) {
        showTutorial(tutorial->second);
        return;
    }
    switch (key) {
        case kt::kbW:
        case kt::kbF5:
            // Checked at once: a resting board would otherwise wait for the next removal.
            if (board_) {
                board_->instantWin();
                board_->checkWin();
            }
            break;
        case kt::kbF3:
            if (board_) board_->setDebugRender(!board_->debugRender());
            break;
        case kt::kbF4:
            edit();
            break;
        case kt::kbF6:
            toggleBackground();
            break;
        case kt::kbF7:
            if (board_) board_->findTurns();
            break;
        case kt::kbF8:
            forgetTutorials();
            break;
        default:
            break;
    }
}

void GameScene::pauseInState(const char* state) {
    popup_ = false;
    if (board_) board_->setPause(true);
    setState(state);
}

void GameScene::pause() {
    kt::KTLog("pause");
    pauseInState("pause");
}

void GameScene::hide() {
    kt::KTLog("hide");
    pauseInState("hide");
}

// The question pauses the level too, so that the time does not run while the player decides.
void GameScene::showRestartPopup() {
    pauseInState("restart_question");
}

void GameScene::resume() {
    // After the win the board stays stopped, whatever asks to go on.
    if (won_) return;
    popup_ = false;
    if (board_) board_->setPause(false);
    setState("default");
    if (const auto box = getChildByName("tutorial_box")) box->removeAllChildren();
}

void GameScene::restart() {
    kt::KTLog("restart");
    popup_ = false;
    won_ = false;
    if (!board_) return;
    board_->reset();
    PowerupManager::currentPowerupManager().reset();
    kt::KTLog("restart: board reset ok");
    board_->setPause(false);
    kt::KTLog("restart: board unpause ok");
    board_->setEnabled(true);
    setState("default");
    kt::KTLog("restart: state switch to default ok");
    emptyWinEffect();
}

void GameScene::emptyWinEffect() {
    const auto holder = getChildByName("win_effect_holder");
    if (!holder) return;
    holder->setEnabled(false);
    holder->setVisible(false);
    holder->removeAllChildren();
}

void GameScene::defaultMode() {
    if (board_) board_->enterNormalMode();
}

void GameScene::hammer() {
    if (board_) board_->enterHammerMode();
}

void GameScene::remcolor() {
    if (board_) board_->enterRemoveColorMode();
}

void GameScene::removeRandomBlocks() {
    if (board_) board_->removeRandomBlocks();
}

void GameScene::placeRandomBonuses() {
    if (board_) board_->placeRandomBonuses();
}

void GameScene::win() {
    if (won_) return;
    won_ = true;
    if (board_) board_->stopEverything();
    if (const auto holder = getChildByName("win_effect_holder")) {
        holder->setEnabled(true);
        holder->setVisible(true);
        holder->startEffect(kWinEffect, kScreenCentre);
    }
    setState("win");
    audio().stopMusic();
    popup_ = true;
}

void GameScene::showTutorial(const std::string& name) {
    const auto user = kt::KTUserManager::sharedManager().selectedUser();
    if (!user) {
        if (!tutorialsSkippedLogged_) kt::KTLog("GameScene: no profile to keep tutorials in; none is shown");
        tutorialsSkippedLogged_ = true;
        return;
    }
    if (user->tutorialHandled(name) || won_) return;
    const std::string path = kt::KTFormat("data/partials/tutorial/%@.xml", name);
    if (board_) board_->setPause(false);
    kt::KTLog("tut_filename = %@", path);
    const auto box = getChildByName("tutorial_box");
    if (box && kt::KTResourceManager::shared().getXML(path)) {
        setMouseFocus(nullptr);
        setState("tutorial");
        popup_ = true;
        if (board_) board_->setPause(true);
        box->removeAllChildren();
        kt::KTLog("tutorial_box=%@", box->description());
        // As big as the box, so that the pointer reaches the partial's button whatever its root declares.
        auto tutorial = kt::KTNode::node();
        tutorial->setSize(box->size());
        tutorial->loadFromFile(path);
        box->addChild(std::move(tutorial));
    } else {
        popup_ = false;
    }
    user->setTutorialHandled(name);
    kt::KTUserManager::sharedManager().save();
}

void GameScene::forgetTutorials() {
    const auto user = kt::KTUserManager::sharedManager().selectedUser();
    if (!user) return;
    user->forgetTutorials();
    kt::KTUserManager::sharedManager().save();
}

void GameScene::toMainMenu() {
    leaveLevel("map");
}

void GameScene::toMainMenuAfterWin() {
    leaveLevel(menuStateAfterWin());
}

void GameScene::leaveLevel(const std::string& menuState) {
    if (auto controller = GameBoardController::shared()) controller->setBoard(nullptr);
    board_.reset();
    PreloadScene::loadScene({"MainMenuScene", "", std::nullopt, menuState}, PreloadScene::kMainPreloadList);
}

void GameScene::edit() {
    if (!kt::KTDirector::shared().devMode()) return;
    const kt::KTClass* editor = kt::KTClass::named("EditorScene");
    auto scene = editor ? std::dynamic_pointer_cast<kt::KTScene>(editor->create()) : nullptr;
    if (!scene) {
        kt::KTLog("GameScene: no EditorScene to edit level %@", levelName_);
        return;
    }
    scene->perform("initWithLevel:", levelName_);
    kt::KTDirector::shared().setScene(std::move(scene));
}

}  // namespace moonbrook
