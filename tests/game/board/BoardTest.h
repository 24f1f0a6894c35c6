#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTPlist.h"
#include "engine/core/KTScene.h"
#include "game/scenes/ScenePresentation.h"
#include "game/board/Board.h"
#include "tests/support/EngineTest.h"

namespace moonbrook::test {

// A board in a running scene built from the game's own content, with the HUD nodes its presentation fills, a
// seeded random generator and whole director frames of fixed length.
class BoardTest : public kt::test::EngineTest {
public:
    // Rows of text, top row first; short or missing rows read as '0'. Designated initialisers may leave out
    // any layer.
    struct Layers {
        std::vector<std::string> map{};
        std::vector<std::string> emitters{};
        std::vector<std::string> locks{};
        std::vector<std::string> crates{};
        std::vector<std::string> balls{};
    };

protected:
    BoardTest();
    ~BoardTest() override;
    void TearDown() override;

    // The level's layers as a level file's dictionary would hold them.
    static kt::KTPlist levelData(const Layers& layers, kt::KTPlist probs = {}, kt::KTPlist delays = {},
                                 kt::KTPlist reqs = {});
    // Builds the board from the layers in the running scene; also kept in `board`.
    std::shared_ptr<Board> makeBoard(const Layers& layers, kt::KTPlist probs = {}, kt::KTPlist delays = {},
                                     kt::KTPlist reqs = {});
    // makeBoard where every row of balls without a map row of its own lies on a row of plain cells.
    std::shared_ptr<Board> fill(Layers layers, kt::KTPlist reqs = {});
    CellRef cell(int x, int y) const { return board->cellAt(x, y); }
    // Whole director frames: messages, scheduled updates (the board's among them), actions, drawing.
    void step(int frames = 1, float dt = 1.0f / 60);
    // The whole frames that cover the seconds.
    void stepFor(float seconds);
    // Steps until the board stays idle through a whole frame; false when it does not within maxFrames.
    bool settle(int maxFrames = 3000);
    // The ball letters of rows y0 to y1 (both included): '.' an empty cell or a placeholder, ' ' no cell;
    // positions without a cell at the end of a row are left out.
    std::vector<std::string> rows(int y0, int y1) const;
    std::string row(int y) const { return rows(y, y).front(); }
    // The sounds of the effects started among the node's children after its first `from` ones.
    static std::vector<std::string> effectSounds(const kt::KTNode& parent, std::size_t from);
    // A scene node the board looks up by name.
    kt::KTNode::Ref hud(std::string_view name) const { return scene->getChildByName(name); }

    std::shared_ptr<kt::KTScene> scene;
    // Where the board sits in the scene, away from the origin so that coordinate mix-ups show.
    std::shared_ptr<kt::KTNode> holder;
    std::shared_ptr<Board> board;
    // What makeBoard's boards show, in the scene's named nodes.
    std::shared_ptr<ScenePresentation> presentation;
};

}  // namespace moonbrook::test
