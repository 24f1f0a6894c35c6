#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTGeometry.h"
#include "engine/core/KTNode.h"

namespace moonbrook {

class Board;
class Cell;
struct Turn;

// What the board shows beyond its own cells and balls: the HUD, hints, highlights, effects, tutorials and the
// result of a won level. The screen that plays a level provides it; the rules only call it, so they run the
// same without a scene, a renderer or an audio device (see SilentPresentation).
// Points are in the board's own coordinates; the presentation places them where it draws.
class BoardPresentation {
public:
    enum class Highlight { plates, coins };
    // Where an effect plays: among the board's children, beside the board in its parent, or over the scene.
    enum class EffectLayer { board, field, scene };

    virtual ~BoardPresentation() = default;

    // A new field is being built for the level: forget the old one's marks, pointer and characters, and
    // bind the HUD to this board.
    virtual void bind(Board& board) = 0;
    // Score, time, plates and tokens changed (called every frame while the level runs).
    virtual void showHud(const Board& board) = 0;
    // Replaces the shown hints; an empty list removes them.
    virtual void showHints(const std::vector<Turn>& turns) = 0;
    // The selected cell, or none.
    virtual void showSelection(const Cell* cell) = 0;
    // Replaces the highlights by one marker on each cell; an empty list removes them.
    virtual void showHighlights(Highlight kind, const std::vector<std::shared_ptr<Cell>>& cells) = 0;
    // The started effect, or none when nothing is shown.
    virtual kt::KTNode::Ref startEffect(const std::string& path, EffectLayer layer, kt::CGPoint point) = 0;
    // A colour removal's lightning from one cell to the next, shown after the delay.
    virtual void showBolt(kt::CGPoint from, kt::CGPoint to, float delay) = 0;
    // The pointer decoration of a powerup click mode, loaded from the file; none restores the plain pointer.
    virtual void showPointer(const char* decorationFile) = 0;
    // Where the characters of a candy request slot stand, or none.
    virtual std::shared_ptr<kt::KTNode> requestorHolder(int slot) = 0;
    virtual void showTutorial(const std::string& key) = 0;
    // The settled board has no move left (the game does not reshuffle), or has one again.
    virtual void showNoMoveNotice(bool shown) = 0;
    // The board has just been won and paused: show and keep the result.
    virtual void levelWon(const Board& board) = 0;
};

// Shows nothing: the board of a simulation or of a test that looks only at the rules.
class SilentPresentation final : public BoardPresentation {
public:
    void bind(Board&) override {}
    void showHud(const Board&) override {}
    void showHints(const std::vector<Turn>&) override {}
    void showSelection(const Cell*) override {}
    void showHighlights(Highlight, const std::vector<std::shared_ptr<Cell>>&) override {}
    kt::KTNode::Ref startEffect(const std::string&, EffectLayer, kt::CGPoint) override { return nullptr; }
    void showBolt(kt::CGPoint, kt::CGPoint, float) override {}
    void showPointer(const char*) override {}
    std::shared_ptr<kt::KTNode> requestorHolder(int) override { return nullptr; }
    void showTutorial(const std::string&) override {}
    void showNoMoveNotice(bool) override {}
    void levelWon(const Board&) override {}
};

}  // namespace moonbrook
