#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/EditHistory.h"
#include "editor/EditorCell.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTPlist.h"

namespace kt {
class KTImageData;
}

namespace moonbrook {

// The level being edited: its field as a grid of editor cells over the board's background, the rest of the
// level file (weights, delays, candy requests, options) as read, the painting mode, and the undo history.
// It writes the level file the game's board reads.
class EditorBoard : public kt::KTNode {
public:
    KT_CLASS(EditorBoard)

    // The level file at the path laid out in the rectangle. A missing file gives a new, empty level; a
    // damaged one an empty field as well, marked so that it is only written when the designer saves.
    static std::shared_ptr<EditorBoard> boardWithFile(const kt::CGRect& rect, const std::string& path);

    bool damaged() const { return damaged_; }
    // The level as it would be saved differs from the file as read (or as last saved).
    bool changed() const;
    // The level file as it is saved: layers rebuilt from the cells, weights and delays only for keys that
    // start with a lower-case letter or a digit, no "bonuses" and no "plates" option, and "revision" raised
    // by one when the text differs from the file as read.
    kt::KTPlist savedLevel() const;
    // Writes the saved level to every path in turn, atomically; stops at the first that fails.
    bool saveTo(const std::vector<std::string>& paths, std::string& error);

    EditorBoardMode mode() const { return mode_; }
    void setMode(EditorBoardMode mode) { mode_ = mode; }
    char16_t ballType() const { return ballType_; }
    void setBallType(char16_t type) { ballType_ = type; }

    double prob(char16_t type) const;
    void setProb(double prob, char16_t type);
    int delay(char16_t type) const;
    void setDelay(int delay, char16_t type);
    int req(char16_t type) const;
    void setReq(int req, char16_t type);
    // The option's integer value changed by delta, kept at 0 or above, stored as text.
    void changeIntOption(const std::string& key, int delta);
    std::string option(const std::string& key) const;
    void setOption(const std::string& key, const std::string& value) { setOptionValue(key, value); }
    // The level's "time_limit" in whole seconds.
    int timeLimit() const;
    void setTimeLimit(int seconds) { setOptionValue("time_limit", seconds); }

    // The whole level with the layers as painted.
    kt::KTPlist levelData() const;
    int cellsCount() const;
    // Plate layers over all cells.
    int plates() const;

    // One click on a cell, recorded for undo when it changes anything.
    void paintCell(EditorCell& cell, bool rightButton);
    bool undo();
    bool redo();
    const EditHistory& history() const { return history_; }

    void draw() override;

private:
    void loadFile(const std::string& path);
    // The level without what the game no longer reads: weights and delays under keys that name no ball,
    // "bonuses" and the "plates" option.
    kt::KTPlist cleanedLevel() const;
    void buildCells();
    // The cells and the level data from a level dictionary.
    void applyLevel(const kt::KTPlist& level);
    void recordChange() { history_.recordChange(levelData()); }
    void setNumber(const char* table, char16_t type, kt::KTPlist value);
    void setOptionValue(const std::string& key, kt::KTPlist value);

    std::vector<std::shared_ptr<EditorCell>> cells_;
    kt::KTPlist levelData_ = kt::KTPlist::emptyDictionary();
    EditorBoardMode mode_ = EditorBoardMode::board;
    char16_t ballType_ = u'a';
    std::shared_ptr<kt::KTImageData> background_;
    // The saved text of the level as read or last written, for change detection.
    std::string dump_;
    bool damaged_ = false;
    EditHistory history_;
};

}  // namespace moonbrook
