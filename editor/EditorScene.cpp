#include "editor/EditorScene.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "editor/EditorBoard.h"
#include "editor/LevelFiles.h"
#include "editor/LevelSet.h"
#include "engine/controls/KTProgress.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTResourceManager.h"
#include "game/BallLetter.h"

namespace moonbrook {

namespace {

constexpr const char* kBoardHolder = "board";
constexpr const char* kBackgroundHolder = "background";
constexpr const char* kGameSceneClass = "GameScene";
constexpr const char* kCheckPanel = "check_panel";
constexpr const char* kOptions[] = {"gold_time", "rate_limit", "initial_balls", "balls", "rballs"};
// Every ball the board knows, in the order of the palette.
constexpr char16_t kFirstBall = u'a';
constexpr char16_t kLastBall = u't';
constexpr auto kUndoKey = static_cast<kt::ButtonName>('z');
constexpr auto kRedoKey = static_cast<kt::ButtonName>('y');
constexpr const char* kModeNodes[] = {"board_mode", "locks_mode", "emitters_mode", "wooden_crates_mode",
                                      "stone_crates_mode"};
constexpr const char* kModeNames[] = {"Cells", "Locks", "Emitters", "Wood", "Stone", "Ball"};

int offsetOf(const std::string& text) {
    return static_cast<int>(kt::KTPlist(text).intValue());
}

std::optional<LevelSet> readLevelSet() {
    const std::optional<kt::KTPlist> names =
        kt::KTPlist::readFile(LevelFiles::stagedPath(EditorScene::kLevelSetFile));
    if (!names || !names->isArray()) return std::nullopt;
    return LevelSet(*names);
}

// The partials a level can stand on, by file name in order.
std::vector<std::string> backgroundNames() {
    std::vector<std::string> names;
    std::error_code error;
    const std::string folder =
        kt::KTResourceManager::shared().baseDataPath() + EditorScene::kBackgroundsFolder;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

}  // namespace

const kt::KTClass& EditorScene::staticClass() {
    static const kt::KTClass& cls =
        kt::KTClass::define<EditorScene>("EditorScene", kt::KTScene::staticClass())
            .operation("initWithLevel:", &EditorScene::initWithLevel)
            .operation("loadLevel:", &EditorScene::loadLevel)
            .operation("updateData", &EditorScene::updateData)
            .operation("board_mode", &EditorScene::boardMode)
            .operation("locks_mode", &EditorScene::locksMode)
            .operation("emitters_mode", &EditorScene::emittersMode)
            .operation("wooden_crates_mode", &EditorScene::woodenCratesMode)
            .operation("stone_crates_mode", &EditorScene::stoneCratesMode)
            .operation("ball:", &EditorScene::ball)
            .operation("inc_prob:", &EditorScene::incProb)
            .operation("dec_prob:", &EditorScene::decProb)
            .operation("inc_delay:", &EditorScene::incDelay)
            .operation("dec_delay:", &EditorScene::decDelay)
            .operation("inc_req:", &EditorScene::incReq)
            .operation("dec_req:", &EditorScene::decReq)
            .operation("inc_option:", &EditorScene::incOption)
            .operation("dec_option:", &EditorScene::decOption)
            .operation("prevBg", &EditorScene::prevBg)
            .operation("nextBg", &EditorScene::nextBg)
            .operation("moveLevel:", &EditorScene::moveLevel)
            .operation("switchLevel:", &EditorScene::switchLevel)
            .operation("save", &EditorScene::save)
            .operation("saveexit", &EditorScene::saveexit)
            .operation("undo", &EditorScene::undo)
            .operation("redo", &EditorScene::redo)
            .operation("check", &EditorScene::check)
            .operation("apply_check", &EditorScene::applyCheck)
            .operation("close_check", &EditorScene::closeCheck);
    return cls;
}
KT_REGISTER_CLASS(EditorScene);

std::shared_ptr<EditorScene> EditorScene::sceneWithLevel(const std::string& levelName) {
    auto scene = kt::KTNode::node<EditorScene>();
    scene->initWithLevel(levelName);
    return scene;
}

void EditorScene::initWithLevel(const std::string& levelName) {
    loadFromFile(kSceneFile);
    kt::KTLog("EditorScene initWithLevel: %@", levelName);
    loadLevel(levelName);
}

void EditorScene::loadLevel(const std::string& levelName) {
    kt::KTLog("loadLevel");
    levelName_ = levelName;
    kt::KTLog("before initializing EditorBoard");
    const Ref holder = getChildByName(kBoardHolder);
    if (!holder) {
        kt::KTLog("EditorScene: no node named %@ in %@", kBoardHolder, kSceneFile);
        return;
    }
    if (board_) holder->removeChild(board_.get());
    board_ = EditorBoard::boardWithFile({{0, 0}, holder->size()},
                                        LevelFiles::stagedPath(LevelFiles::levelName(levelName)));
    holder->addChild(board_);
    kt::KTLog("after initializing EditorBoard");
    showMessage(board_->damaged() ? "This level file is damaged: the field starts empty, and the file is "
                                    "only replaced when you save."
                                  : "");
}

void EditorScene::onEnterStage() {
    kt::KTScene::onEnterStage();
    scheduleUpdate();
    updateData();
}

void EditorScene::onExitStage() {
    checkJob_.reset();
    kt::KTScene::onExitStage();
}

void EditorScene::showText(const std::string& node, const std::string& text) {
    if (const Ref found = getChildByName(node)) found->setText(text);
}

void EditorScene::showMessage(const std::string& message) {
    showText("message", message);
}

void EditorScene::updateData() {
    if (!board_) return;
    for (char16_t type = kFirstBall; type <= kLastBall; ++type) {
        showText(kt::KTFormat("prob_txt_%c", type), kt::KTFormat("%.2f", board_->prob(type)));
        showText(kt::KTFormat("delay_txt_%c", type), kt::KTFormat("%i", board_->delay(type)));
        showText(kt::KTFormat("req_txt_%c", type), kt::KTFormat("%i", board_->req(type)));
    }
    for (const char* option : kOptions)
        showText(kt::KTFormat("%@_txt", option), board_->option(option));
    showBackground();
    showText("levelname", levelName_);
    const std::optional<LevelSet> levelSet = readLevelSet();
    const std::optional<int> index = levelSet ? levelSet->indexOf(levelName_) : std::nullopt;
    showText("levelidx", index ? kt::KTFormat("%i", *index) : "-");
    showCellsCount();
    showMode();
}

void EditorScene::showCellsCount() {
    showText("cells_count_txt", kt::KTFormat("%i / %i", board_->cellsCount(), board_->plates()));
}

void EditorScene::buttonUp(kt::ButtonName button, kt::CGPoint point) {
    kt::KTScene::buttonUp(button, point);
    // A click may have painted a cell.
    if (board_) showCellsCount();
}

void EditorScene::showMode() {
    const auto mode = static_cast<int>(board_->mode());
    showText("mode_txt", kModeNames[mode]);
    const Ref marker = getChildByName("mode_marker");
    const Ref button = board_->mode() == EditorBoardMode::ball
                           ? getChildByName(kt::KTFormat("ball_%c", board_->ballType()))
                           : getChildByName(kModeNodes[mode]);
    if (!marker || !button) return;
    // The marker is a child of the scene itself, so the button's centre on screen places it.
    constexpr float kMargin = 6;
    marker->setSize({button->w() + kMargin, button->h() + kMargin});
    const kt::CGPoint centre = button->absoluteCenter();
    marker->setPosition({centre.x - marker->w() / 2, centre.y - marker->h() / 2});
}

void EditorScene::showBackground() {
    const std::string name = board_->option("background");
    showText("bg_txt", name == "0" ? "none" : name);
    const Ref holder = getChildByName(kBackgroundHolder);
    // Loaded again only when it changed, so that a moving background does not start over on every click.
    if (!holder || name == shownBackground_) return;
    shownBackground_ = name;
    holder->removeAllChildren();
    if (name != "0")
        holder->addChild(kt::KTNode::nodeFromFile(kt::KTFormat("%@/%@", kBackgroundsFolder, name)));
}

void EditorScene::keyDown(kt::ButtonName button) {
    if (button == kt::kbLeftControl || button == kt::kbRightControl) controlHeld_ = true;
    if (controlHeld_ && button == kUndoKey) undo();
    if (controlHeld_ && button == kRedoKey) redo();
    kt::KTScene::keyDown(button);
}

void EditorScene::keyUp(kt::ButtonName button) {
    if (button == kt::kbLeftControl || button == kt::kbRightControl) controlHeld_ = false;
    kt::KTScene::keyUp(button);
}

void EditorScene::setMode(EditorBoardMode mode) {
    board_->setMode(mode);
    showMode();
}

void EditorScene::boardMode() {
    setMode(EditorBoardMode::board);
}

void EditorScene::locksMode() {
    setMode(EditorBoardMode::locks);
}

void EditorScene::emittersMode() {
    setMode(EditorBoardMode::emitters);
}

void EditorScene::woodenCratesMode() {
    setMode(EditorBoardMode::woodenCrates);
}

void EditorScene::stoneCratesMode() {
    setMode(EditorBoardMode::stoneCrates);
}

void EditorScene::ball(const std::string& letter) {
    if (letter.empty()) return;
    board_->setBallType(ballLetterOf(letter));
    setMode(EditorBoardMode::ball);
}

void EditorScene::changeNumber(const std::string& letter, const char* what, int direction) {
    if (letter.empty()) return;
    const char16_t type = ballLetterOf(letter);
    const std::string_view kind = what;
    if (kind == "prob") board_->setProb(board_->prob(type) + 0.1 * direction, type);
    if (kind == "delay") board_->setDelay(board_->delay(type) + direction, type);
    if (kind == "req") board_->setReq(board_->req(type) + direction, type);
    updateData();
}

void EditorScene::incProb(const std::string& letter) {
    changeNumber(letter, "prob", 1);
}
void EditorScene::decProb(const std::string& letter) {
    changeNumber(letter, "prob", -1);
}
void EditorScene::incDelay(const std::string& letter) {
    changeNumber(letter, "delay", 1);
}
void EditorScene::decDelay(const std::string& letter) {
    changeNumber(letter, "delay", -1);
}
void EditorScene::incReq(const std::string& letter) {
    changeNumber(letter, "req", 1);
}
void EditorScene::decReq(const std::string& letter) {
    changeNumber(letter, "req", -1);
}

void EditorScene::incOption(const std::string& key) {
    board_->changeIntOption(key, 1);
    updateData();
}

void EditorScene::decOption(const std::string& key) {
    board_->changeIntOption(key, -1);
    updateData();
}

void EditorScene::prevBg() {
    switchBg(-1);
}
void EditorScene::nextBg() {
    switchBg(1);
}

void EditorScene::switchBg(int offset) {
    const std::vector<std::string> names = backgroundNames();
    if (names.empty()) {
        showMessage(kt::KTFormat("There are no backgrounds in %@.", kBackgroundsFolder));
        return;
    }
    const auto found = std::ranges::find(names, board_->option("background"));
    const int current = found == names.end() ? 0 : static_cast<int>(found - names.begin());
    const int next = std::clamp(current + offset, 0, static_cast<int>(names.size()) - 1);
    board_->setOption("background", names[static_cast<std::size_t>(next)]);
    showBackground();
}

void EditorScene::moveLevel(const std::string& offset) {
    std::optional<LevelSet> levelSet = readLevelSet();
    const std::optional<int> before = levelSet ? levelSet->indexOf(levelName_) : std::nullopt;
    if (!before) {
        showMessage(kt::KTFormat("%@ is not in %@.", levelName_, kLevelSetFile));
        return;
    }
    const std::optional<int> after = levelSet->move(levelName_, offsetOf(offset));
    if (after == before) return;
    for (const std::string& path : LevelFiles::savePaths(kLevelSetFile)) {
        if (!levelSet->names().writeFile(path)) {
            showMessage(kt::KTFormat("Could not save %@", path));
            return;
        }
    }
    showText("levelidx", kt::KTFormat("%i", *after));
}

void EditorScene::switchLevel(const std::string& offset) {
    const std::optional<LevelSet> levelSet = readLevelSet();
    const std::optional<int> index =
        levelSet ? levelSet->clampedIndex(levelName_, offsetOf(offset)) : std::nullopt;
    if (!index) {
        showMessage(kt::KTFormat("%@ is not in %@.", levelName_, kLevelSetFile));
        return;
    }
    // A damaged file is replaced only by a save of the designer's own; an untouched one stays as it is.
    if ((!board_->damaged() || board_->changed()) && !saveLevel()) return;
    loadLevel(levelSet->levelAt(*index));
    updateData();
}

void EditorScene::save() {
    saveLevel();
}

bool EditorScene::saveLevel() {
    std::string error;
    if (!board_->saveTo(LevelFiles::savePaths(LevelFiles::levelName(levelName_)), error)) {
        showMessage(error + ". The level stays open here; nothing is lost.");
        return false;
    }
    showMessage(kt::KTFormat("Saved %@.", levelName_));
    return true;
}

void EditorScene::saveexit() {
    if (!saveLevel()) return;
    const kt::KTClass* gameScene = kt::KTClass::named(kGameSceneClass);
    const auto scene = gameScene ? std::dynamic_pointer_cast<kt::KTScene>(gameScene->create()) : nullptr;
    if (!scene) {
        showMessage(kt::KTFormat("Saved %@; there is no game scene to play it in.", levelName_));
        return;
    }
    scene->perform("initWithLevel:", levelName_);
    kt::KTDirector::shared().setScene(scene);
}

void EditorScene::undo() {
    if (board_ && board_->undo()) updateData();
}

void EditorScene::redo() {
    if (board_ && board_->redo()) updateData();
}

void EditorScene::check() {
    if (checkJob_ || !board_) return;
    verdict_.reset();
    std::string error;
    checkJob_ = LevelCheckJob::start(levelName_, board_->levelData(), error);
    if (const Ref panel = getChildByName(kCheckPanel)) panel->setVisible(true);
    for (const char* line : {"check_times", "check_stars", "check_limit", "check_locks"})
        showText(line, "");
    showText("check_status", checkJob_ ? "" : error);
    showCheckProgress();
    setState(checkJob_ ? "checking" : "checked");
}

void EditorScene::update(float dt) {
    kt::KTScene::update(dt);
    if (!checkJob_) return;
    const bool running = checkJob_->poll();
    showCheckProgress();
    if (running) return;
    verdict_ = checkJob_->verdict();
    if (verdict_) {
        showVerdict(*verdict_);
    } else {
        showText("check_status", checkJob_->error());
    }
    checkJob_.reset();
    setState("checked");
}

void EditorScene::showCheckProgress() {
    const int done = checkJob_ ? checkJob_->runsDone() : (verdict_ ? LevelCheckJob::kRuns : 0);
    if (const auto bar = std::dynamic_pointer_cast<kt::KTProgress>(getChildByName("check_progress")))
        bar->setValue(static_cast<float>(done) / LevelCheckJob::kRuns);
    if (checkJob_)
        showText("check_status",
                 kt::KTFormat("Playing the level: %i of %i runs", done, LevelCheckJob::kRuns));
}

void EditorScene::showVerdict(const LevelCheckVerdict& verdict) {
    showText("check_status",
             kt::KTFormat("Won %i of %i runs (%.0f %%)", verdict.wins, verdict.runs, verdict.winRate * 100));
    showText("check_times", verdict.wins > 0 ? kt::KTFormat("Winning time: median %.0f s, best 5 %% %.0f s",
                                                            verdict.medianTime, verdict.best5Time)
                                             : "No winning time");
    showText("check_stars",
             kt::KTFormat("Suggested: gold %.0f s, stars %.0f / %.0f / %.0f s", verdict.goldTime,
                          verdict.threeStars, verdict.twoStars, verdict.oneStar));
    showText("check_limit",
             kt::KTFormat("Time limit %.0f s (now %i s)", verdict.timeLimit, board_->timeLimit()));
    showText("check_locks", verdict.softLocks > 0 ? kt::KTFormat("Soft-locked in %i runs!", verdict.softLocks)
                                                  : "No soft-lock found");
}

void EditorScene::applyCheck() {
    if (!verdict_ || verdict_->wins == 0) return;
    board_->setOption("gold_time", kt::KTFormat("%.0f", verdict_->goldTime));
    board_->setTimeLimit(static_cast<int>(std::ceil(verdict_->timeLimit)));
    showVerdict(*verdict_);
    updateData();
}

void EditorScene::closeCheck() {
    checkJob_.reset();
    if (const Ref panel = getChildByName(kCheckPanel)) panel->setVisible(false);
    setState("editing");
}

}  // namespace moonbrook
