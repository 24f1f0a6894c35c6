#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTBoard.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTPlist.h"
#include "game/board/BoardConstants.h"
#include "game/board/BoardPresentation.h"
#include "game/board/FrameSet.h"
#include "game/board/Rocket.h"

namespace kt {
class KTImageData;
}

namespace moonbrook {

class Ball;
class BallGenerator;
class CandyRequestManager;
class Cell;

using CellRef = std::shared_ptr<Cell>;
using CellList = std::vector<CellRef>;

// A possible move: the neighbour's ball moved into the cell makes a line.
struct Turn {
    CellRef cell;
    CellRef neighbour;
};

// A swap judged on the field as it stands: the lines through both cells and whether the swap does anything.
struct SwapJudgement {
    CellList lineA;
    CellList lineB;
    bool resultative = false;
};

// The playing field of a level: the grid of cells built from a level file, the frame around its outline, and
// the rules that act on it. The rules live in one source file per concern:
//   Board.cpp          level file, building the field, frame, counters, HUD
//   BoardMatching.cpp  lines, removal, scoring, highlights
//   BoardFalling.cpp   falling, emitters, the per-frame update
//   BoardSwapping.cpp  selection, swaps, turn search, hints, rockets
//   BoardPowerups.cpp  explosions, hammer, colour removal, bats, bonus placement
//   BoardVisuals.cpp   images, light wave, random ball animations
//   BoardWin.cpp       the win check
// Whatever the board shows beyond its cells and balls goes through its presentation; without one given it
// shows nothing, so the rules run without a scene.
class Board : public kt::KTNode {
public:
    KT_CLASS(Board)

    // A board with its images loaded and its update scheduled, but no cells.
    static std::shared_ptr<Board> board();
    static std::shared_ptr<Board> boardWithLevel(const std::string& levelName);
    Board();

    // --- Level and field (Board.cpp) ---
    // Reads "data/levels/<name>.xml"; the field is built by reset().
    void setLevel(const std::string& levelName);
    // A level given as data (tests, the editor); a level that is not a dictionary reads as empty.
    void setLevelData(const std::string& levelName, kt::KTPlist levelData);
    // Builds the field from the loaded level again; also restarts a level.
    void reset() override;
    void onEnterStage() override;
    // None outside the grid, for empty entries and for emitters.
    CellRef cellAt(int x, int y) const;
    // Any grid entry, emitters included.
    CellRef gridEntryAt(int x, int y) const { return cells_.objectAt(x, y); }
    // The existing cells column by column, each from the top: the order removals and searches walk in.
    CellList cellsByColumn() const;
    void buildFrameSet();
    const FrameSet* frameSetAt(int fx, int fy) const { return framemap_.objectAt(fx, fy).get(); }
    void draw() override;

    bool moving() const { return moving_ > 0; }
    int movingCount() const { return moving_; }
    void incMoving();
    void decMoving();
    void incTokens();
    void decTokens();
    // Plate layers over all existing cells.
    unsigned plates() const;
    bool hasPlates() const;
    void stopEverything();

    bool pause() const { return pause_; }
    void setPause(bool pause) { pause_ = pause; }
    ClickMode clickMode() const { return clickMode_; }
    void setClickMode(ClickMode mode) { clickMode_ = mode; }
    bool debugRender() const { return debugRender_; }
    void setDebugRender(bool on) { debugRender_ = on; }
    CellRef selected() const { return selected_.lock(); }
    const kt::KTPlist& levelData() const { return levelData_; }
    const std::string& levelName() const { return levelName_; }
    float timeLimit() const { return timeLimit_; }
    float playTime() const { return playTime_; }
    unsigned score() const { return score_; }
    void addScore(unsigned points) { score_ += points; }
    int platesCount() const { return platesCount_; }
    int startPlatesCount() const { return startPlatesCount_; }
    int tokensCount() const { return tokensCount_; }
    int initialTokensCount() const { return initialTokensCount_; }
    bool cheat() const { return cheat_; }
    bool inReset() const { return inReset_; }
    const kt::KTPlist& typesForTutorial() const { return typesForTutorial_; }
    const std::shared_ptr<kt::KTImageData>& lock() const { return lock_; }
    const std::shared_ptr<kt::KTImageData>& backImage() const { return back_; }
    const std::array<std::shared_ptr<kt::KTImageData>, 3>& boardImages() const { return boardImages_; }
    const std::shared_ptr<CandyRequestManager>& candyRequestManager() const { return candyRequestManager_; }
    // Nothing pending: no ball in flight or about to fall, no rocket, no line check, no placeholder waiting
    // to vanish, no cell waiting for a bat, a bonus ball or a lightning bolt.
    bool idle() const;

    void delayedRemoveLines() { delayedRemoveLines_ = true; }
    void setLastTurnCell(const CellRef& cell);
    std::shared_ptr<Ball> generateBall();
    std::shared_ptr<Ball> generateBallOfType(char16_t type);
    int decCandyRequestForType(char16_t type);

    BoardPresentation& presentation() const { return *presentation_; }
    // Bound to the field at the next reset; none gives the silent one.
    void setPresentation(std::shared_ptr<BoardPresentation> presentation);
    // Plates and tokens this level has yielded so far.
    int yieldedPlates() const { return startPlatesCount_ - platesCount_; }
    int yieldedTokens() const { return initialTokensCount_ - tokensCount_; }

    // --- Lines and removal (BoardMatching.cpp) ---
    CellList testLine(const Cell& cell, int dx, int dy, const Ball& ball, int firstDirection) const;
    CellList testLine(const Cell& cell, int dx, int dy, const Ball& ball) const;
    CellList testLine(const Cell& cell, int dx, int dy) const;
    bool ballMatchesBallsInCells(const Ball& ball, const CellList& cells) const;
    CellList checkLineAtCell(const Cell& cell) const;
    bool removeLines();
    bool removeAtCells(const CellList& cells);
    void removeBallAt(const CellRef& cell, bool forced = false);
    void removeCratesAt(const Cell& cell);
    void finalizeRemove();
    void highlightPlates();
    void highlightCoins();
    // Distinct cells, the last of the list first.
    static CellList uniqueCells(CellList cells);

    // --- Falling (BoardFalling.cpp) ---
    void generate();
    bool generateStepForCell(const CellRef& cell, kt::KTPosition direction);
    // The step generateStepForCell would take, without taking it.
    bool canStep(const Cell& cell, kt::KTPosition direction) const;
    // Some resting ball could fall or slide now: the next update of a running board moves it.
    bool fallPending() const;
    bool checkUp(kt::KTPosition position) const;
    bool checkUpAt(const Cell& cell) const { return checkUp(boardPositionOf(cell)); }
    CellList findFallPathFrom(const CellRef& cell) const;
    void setMovements();
    void update(float dt) override;

    // --- Swapping, turns, hints, rockets (BoardSwapping.cpp) ---
    void setSelected(const CellRef& cell);
    void swapCell(Cell& a, Cell& b);
    void startSwapWith(const CellRef& cell);
    // Judges the balls of a and b where they are now; the same judgement starts a swap and lands it.
    SwapJudgement judgeSwap(const Cell& a, const Cell& b) const;
    bool checkTurnTo(const Cell& cell, const Cell& neighbour) const;
    std::vector<Turn> findAllTurns() const;
    // Shows a hint after the hint delay, or the notice that no move is left when the settled board has none.
    void findTurn();
    void findTurns();
    bool noMoveNoticeShown() const { return noMoveNotice_; }
    void startRocketAt(const Cell& cell, int vx, int vy);
    const std::vector<Rocket>& rockets() const { return rockets_; }

    // --- Powerups (BoardPowerups.cpp) ---
    void explodeAt(const CellRef& cell, char16_t pattern = u'f');
    void removeColor(char16_t type, const CellRef& cell, int size);
    void removeRandomBlocks();
    void placeRandomBonuses();
    // The click on a cell in hammer or colour mode, with its end steps.
    void hammerClickAt(const CellRef& cell);
    void removeColorClickAt(const CellRef& cell);
    // Scene handlers: enter a powerup click mode with its pointer decoration, or leave it.
    void enterHammerMode();
    void enterRemoveColorMode();
    void enterNormalMode();

    // --- Visuals (BoardVisuals.cpp) ---
    void loadData();
    void startLightWave();
    void startRandom();

    // --- Win (BoardWin.cpp) ---
    void checkWin();
    bool reqsCollected() const;
    void instantWin();

private:
    static kt::KTPosition boardPositionOf(const Cell& cell);
    // Board.cpp
    void resetCandyRequests();
    void resetState();
    void buildCell(const kt::KTPlist& options, int x, int y);
    // BoardMatching.cpp
    void highlightCells(BoardPresentation::Highlight kind, bool (*wanted)(const Cell&));
    // BoardFalling.cpp
    void updateTimers(float dt);
    void showTutorials();
    void rocketTick();
    // BoardSwapping.cpp
    void setNoMoveNotice(bool shown);
    // The notice goes as soon as the settled board has a move again.
    void checkNoMoveNotice();
    // BoardPowerups.cpp
    void finishPowerupClick(const std::string& powerupName);

    std::shared_ptr<kt::KTImageData> back_;
    std::array<std::shared_ptr<kt::KTImageData>, 3> boardImages_;
    std::shared_ptr<kt::KTImageData> lock_;
    kt::KTBoard<Cell> cells_{kSizeX, kSizeY};
    FrameSet::Images frame_;
    std::string levelName_;
    kt::KTPlist levelData_ = kt::KTPlist::emptyDictionary();
    float timeLimit_ = 60;
    std::shared_ptr<BoardPresentation> presentation_;
    kt::KTBoard<FrameSet> framemap_{kSizeX + 2, kSizeY + 2};
    float cellW_ = kCellW;
    float cellH_ = kCellH;
    float emitCounter_ = 0;
    int platesCount_ = 0;
    int startPlatesCount_ = 0;
    std::shared_ptr<BallGenerator> ballGenerator_;
    std::shared_ptr<CandyRequestManager> candyRequestManager_;
    std::vector<Rocket> rockets_;
    float rocketsCounter_ = 0;
    std::weak_ptr<Cell> selected_;
    bool pause_ = false;
    float playTime_ = 0;
    float timeFromLastSwap_ = 0;
    unsigned score_ = 0;
    int moving_ = 0;
    int initialTokensCount_ = 0;
    int tokensCount_ = 0;
    ClickMode clickMode_ = ClickMode::normal;
    bool cheat_ = false;
    unsigned explosions_ = 0;
    bool delayedRemoveLines_ = false;
    std::weak_ptr<Cell> lastTurnCell_;
    unsigned lastTurnBalls_ = 0;
    bool debugRender_ = false;
    bool noMoveNotice_ = false;
    bool inReset_ = false;
    kt::KTPlist typesForTutorial_ = kt::KTPlist::emptyDictionary();
    float lightwaveT_ = 0;
    float randomT_ = 0;
};

}  // namespace moonbrook
