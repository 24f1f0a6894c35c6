#include "game/board/Board.h"

#include "engine/actions/KTActionManager.h"
#include "engine/core/KTContentLog.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "game/board/Ball.h"
#include "game/board/BallGenerator.h"
#include "game/board/CandyRequestManager.h"
#include "game/board/Cell.h"

namespace moonbrook {

namespace {

// One character of a level layer: row by row from the top, '0' past the end of the string.
char16_t layerAt(const std::string& layer, int x, int y) {
    const auto index =
        static_cast<std::size_t>(kSizeX) * static_cast<std::size_t>(y) + static_cast<std::size_t>(x);
    return index < layer.size() ? static_cast<char16_t>(static_cast<unsigned char>(layer[index])) : u'0';
}

int plateWeight(unsigned plates) {
    if (plates == 0) return 0;
    return plates == 1 ? 1 : kDoublePlateWeight;
}

bool hasRunningActions(const kt::KTNode& node) {
    return kt::KTActionManager::shared().runningActionCount(node) > 0;
}

}  // namespace

const kt::KTClass& Board::staticClass() {
    static const kt::KTClass& cls = kt::KTClass::define<Board>("Board", kt::KTNode::staticClass())
                                        .operation("setLevel:", &Board::setLevel)
                                        .operation("reset", &Board::reset)
                                        .operation("stopEverything", &Board::stopEverything)
                                        .operation("checkWin", &Board::checkWin)
                                        .operation("instantWin", &Board::instantWin)
                                        .operation("findTurn", &Board::findTurn)
                                        .operation("findTurns", &Board::findTurns)
                                        .operation("startLightWave", &Board::startLightWave)
                                        .operation("removeRandomBlocks", &Board::removeRandomBlocks)
                                        .operation("placeRandomBonuses", &Board::placeRandomBonuses)
                                        .operation("enterHammerMode", &Board::enterHammerMode)
                                        .operation("enterRemoveColorMode", &Board::enterRemoveColorMode)
                                        .operation("enterNormalMode", &Board::enterNormalMode);
    return cls;
}
KT_REGISTER_CLASS(Board);

std::shared_ptr<Board> Board::board() {
    auto made = std::make_shared<Board>();
    made->scheduleUpdate();
    return made;
}

std::shared_ptr<Board> Board::boardWithLevel(const std::string& levelName) {
    auto made = board();
    made->setLevel(levelName);
    return made;
}

Board::Board() : presentation_(std::make_shared<SilentPresentation>()) {
    setSize({static_cast<float>(kSizeX) * kCellW, static_cast<float>(kSizeY) * kCellH});
    setStateStop(true);
    loadData();
}

void Board::onEnterStage() {
    KTNode::onEnterStage();
    // Leaving the stage unschedules every node; a board put back on it goes on updating.
    scheduleUpdate();
}

// --- Level file ---

void Board::setLevel(const std::string& levelName) {
    kt::KTLog("Board setLevel: %@", levelName);
    levelName_ = levelName;
    levelData_ = kt::KTPlist::emptyDictionary();
    const std::string name = kt::KTFormat("data/levels/%@.xml", levelName);
    const auto path = kt::KTResourceManager::shared().getPath(name);
    if (!path) return;
    kt::KTLog("  filename: %@", *path);
    const auto data = kt::KTPlist::readFile(*path);
    if (!data) return;
    if (!data->isDictionary()) {
        kt::KTLogContentProblem("level file without a dictionary", *path);
        return;
    }
    levelData_ = *data;
}

void Board::setPresentation(std::shared_ptr<BoardPresentation> presentation) {
    presentation_ = presentation ? std::move(presentation) : std::make_shared<SilentPresentation>();
}

void Board::setLevelData(const std::string& levelName, kt::KTPlist levelData) {
    levelName_ = levelName;
    levelData_ = levelData.isDictionary() ? std::move(levelData) : kt::KTPlist::emptyDictionary();
}

// --- Building the field ---

void Board::reset() {
    inReset_ = true;
    removeAllChildren();
    lightwaveT_ = 0;
    randomT_ = 0;
    cells_ = kt::KTBoard<Cell>(kSizeX, kSizeY);
    framemap_ = kt::KTBoard<FrameSet>(kSizeX + 2, kSizeY + 2);
    rockets_.clear();
    typesForTutorial_ = kt::KTPlist::emptyDictionary();
    resetState();
    presentation_->bind(*this);
    resetCandyRequests();

    const kt::KTPlist& options = levelData()["options"];
    ballGenerator_ =
        std::make_shared<BallGenerator>(sharedAs<Board>(), levelData()["probs"], levelData()["delays"]);
    for (int y = static_cast<int>(kSizeY) - 1; y >= 0; --y) {
        for (int x = 0; x < static_cast<int>(kSizeX); ++x)
            buildCell(options, x, y);
    }
    for (int fx = 0; fx < static_cast<int>(kSizeX) + 2; ++fx) {
        for (int fy = 0; fy < static_cast<int>(kSizeY) + 2; ++fy)
            framemap_.setObject(std::make_shared<FrameSet>(fx, fy, frame_), fx, fy);
    }
    buildFrameSet();

    candyRequestManager_->setReqs(levelData()["reqs"]);
    if (candyRequestManager_->reqsExists()) typesForTutorial_["requestors"] = 1;

    rockets_.clear();
    initialTokensCount_ = tokensCount_;
    setEnabled(true);
    pause_ = false;
    inReset_ = false;
    presentation_->showHud(*this);
    setMovements();
}

void Board::resetCandyRequests() {
    candyRequestManager_ = std::make_shared<CandyRequestManager>();
    for (int idx = 0; idx < CandyRequestManager::kSlotCount; ++idx)
        candyRequestManager_->setCandyRequestorsContainer(presentation_->requestorHolder(idx), idx);
}

void Board::resetState() {
    selected_.reset();
    pause_ = false;
    debugRender_ = false;
    cellW_ = w() / static_cast<float>(kSizeX);
    cellH_ = h() / static_cast<float>(kSizeY);
    lastTurnCell_.reset();
    lastTurnBalls_ = 0;
    clickMode_ = ClickMode::normal;
    playTime_ = 0;
    timeFromLastSwap_ = 0;
    score_ = 0;
    moving_ = 0;
    tokensCount_ = 0;
    emitCounter_ = 0;
    startPlatesCount_ = 0;
    platesCount_ = 0;
    rocketsCounter_ = 0;
    noMoveNotice_ = false;
    explosions_ = 0;
    cheat_ = false;
    delayedRemoveLines_ = false;
    timeLimit_ = static_cast<float>(levelData()["options"]["time_limit"].realValue());
}

void Board::buildCell(const kt::KTPlist& options, int x, int y) {
    const char16_t map = layerAt(options["map"].stringValue(), x, y);
    const char16_t emitter = layerAt(options["emitters"].stringValue(), x, y);
    if (map == u'0' && emitter == u'0') return;
    const char16_t crate = layerAt(options["crates"].stringValue(), x, y);
    const char16_t lock = layerAt(options["locks"].stringValue(), x, y);

    auto cell = std::make_shared<Cell>();
    cell->init({{static_cast<float>(x) * cellW_, static_cast<float>(y) * cellH_}, {cellW_, cellH_}},
               sharedAs<Board>(), x, y);
    // Map characters below '1' (only '0' among the sensible ones) give no plate.
    const unsigned plates = map > u'1' ? static_cast<unsigned>(map - u'1') : 0;
    cell->setPlates(plates);
    startPlatesCount_ += plateWeight(plates);
    platesCount_ += plateWeight(plates);
    if (lock == u'1') {
        cell->setLocked(true);
        typesForTutorial_["locks"] = 1;
    }
    if (emitter != u'0') cell->setEmitter(true);
    cells_.setObject(cell, x, y);
    addChild(cell);
    if (map == u'0') return;

    const char16_t preplaced = layerAt(options["preplaced_balls"].stringValue(), x, y);
    if (preplaced != u'0') {
        cell->setBall(generateBallOfType(preplaced));
        if (preplaced > kLastOrdinaryBall) typesForTutorial_[kt::KTFormat("ball_%c", preplaced)] = 1;
    }
    cell->setCrateType(crate);
    if (crate == u'w') typesForTutorial_["crates_w"] = 1;
    if (crate == u's') typesForTutorial_["crates_s"] = 1;
}

CellRef Board::cellAt(int x, int y) const {
    CellRef cell = cells_.objectAt(x, y);
    return cell && cell->exists() ? cell : nullptr;
}

kt::KTPosition Board::boardPositionOf(const Cell& cell) {
    return cell.boardPosition();
}

// --- Frame ---

void Board::buildFrameSet() {
    const int columns = static_cast<int>(kSizeX);
    const int rows = static_cast<int>(kSizeY);
    const auto exists = [this](int x, int y) { return cellAt(x, y) != nullptr; };
    // Board position (x, y) has its pieces at frame-grid position (x + 1, y + 1); outside reads as unset.
    const auto has = [this](int x, int y, std::size_t piece) {
        const auto set = framemap_.objectAt(x + 1, y + 1);
        return set && set->frame(piece);
    };
    const auto mark = [this](int x, int y, std::size_t piece) {
        if (const auto set = framemap_.objectAt(x + 1, y + 1)) set->setFrame(piece);
    };

    for (int x = -1; x <= columns; ++x) {
        for (int y = -1; y <= rows; ++y) {
            if (exists(x, y)) continue;
            const bool r = exists(x + 1, y);
            const bool l = exists(x - 1, y);
            const bool b = exists(x, y + 1);
            const bool t = exists(x, y - 1);
            if (r) mark(x, y, 3);
            if (l) mark(x, y, 1);
            if (b) mark(x, y, 0);
            if (t) mark(x, y, 2);
            if (t && r) mark(x, y, 4);
            if (t && l) mark(x, y, 7);
            if (r && b) mark(x, y, 5);
            if (b && l) mark(x, y, 6);
        }
    }

    for (int x = -1; x <= columns; ++x) {
        for (int y = -1; y <= rows; ++y) {
            const bool ring = x == -1 || y == -1 || x == columns || y == rows;
            if (!ring && exists(x, y)) continue;
            const int fx = x + 1;
            const int fy = y + 1;
            if (fy > 0 && fx <= columns && has(x, y - 1, 3) && has(x + 1, y, 2)) mark(x, y, 10);
            if (fy <= rows && fx <= columns && has(x + 1, y, 0) && has(x, y + 1, 3)) mark(x, y, 11);
            if (fy <= rows && fx > 0 && has(x - 1, y, 0) && has(x, y + 1, 1)) mark(x, y, 8);
            if (has(x - 1, y, 2) && has(x, y - 1, 1)) mark(x, y, 9);
        }
    }
}

void Board::draw() {
    kt::KTRenderer* renderer = render();
    if (!renderer) return;
    renderer->push();
    renderer->translate(position());
    for (int fx = 0; fx < static_cast<int>(kSizeX) + 2; ++fx) {
        for (int fy = 0; fy < static_cast<int>(kSizeY) + 2; ++fy) {
            if (const auto set = framemap_.objectAt(fx, fy)) set->draw(*renderer);
        }
    }
    renderer->pop();
}

// --- Counters ---

void Board::incMoving() {
    ++moving_;
}

void Board::decMoving() {
    --moving_;
    if (moving_ > 0 || inReset_) return;
    presentation_->startEffect("data/effects/fall.xml", BoardPresentation::EffectLayer::board,
                               {w() * 0.5f, h() * 0.5f});
    delayedRemoveLines();
    highlightPlates();
    highlightCoins();
    if (moving_ <= 0 && !inReset_) checkWin();
}

void Board::incTokens() {
    ++tokensCount_;
    presentation_->showHud(*this);
}

void Board::decTokens() {
    --tokensCount_;
    presentation_->showHud(*this);
}

CellList Board::cellsByColumn() const {
    CellList cells;
    for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
        for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
            if (CellRef cell = cellAt(x, y)) cells.push_back(std::move(cell));
        }
    }
    return cells;
}

unsigned Board::plates() const {
    unsigned total = 0;
    for (const CellRef& cell : cellsByColumn())
        total += cell->plates();
    return total;
}

bool Board::hasPlates() const {
    return plates() > 0;
}

void Board::stopEverything() {
    setNoMoveNotice(false);
    for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
        for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
            const auto cell = cells_.objectAt(x, y);
            if (!cell) continue;
            cell->stopAllActions();
            if (cell->ball()) cell->ball()->stopAllActions();
        }
    }
}

bool Board::idle() const {
    if (moving() || !rockets_.empty() || delayedRemoveLines_ || fallPending()) return false;
    // Balls in flight are children of the board itself.
    for (std::size_t i = 0; i < children().count(); ++i) {
        if (std::dynamic_pointer_cast<Ball>(children().objectAtIndex(i))) return false;
    }
    for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
        for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
            const auto cell = cells_.objectAt(x, y);
            if (!cell) continue;
            // Bats and bonus balls disable their cells until they arrive.
            if (cell->target() || hasRunningActions(*cell) || (cell->exists() && !cell->enabled()))
                return false;
            // A placeholder counts as moving until it has vanished. The actions of a resting ball are only
            // its light wave and random animations, which start again every few seconds.
            const auto& ball = cell->ball();
            if (ball && ball->moving()) return false;
        }
    }
    return true;
}

void Board::setLastTurnCell(const CellRef& cell) {
    lastTurnCell_ = cell;
    kt::KTLog("setting LTC: %@", cell ? cell->description() : std::string("none"));
}

std::shared_ptr<Ball> Board::generateBall() {
    return ballGenerator_ ? ballGenerator_->generateBall() : nullptr;
}

std::shared_ptr<Ball> Board::generateBallOfType(char16_t type) {
    return ballGenerator_ ? ballGenerator_->generateBallOfType(type) : nullptr;
}

int Board::decCandyRequestForType(char16_t type) {
    return candyRequestManager_ ? candyRequestManager_->decCandyRequestForType(type) : -1;
}

}  // namespace moonbrook
