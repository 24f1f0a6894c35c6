#include "tests/game/board/BoardTest.h"

#include <cmath>

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTRenderModule.h"
#include "game/board/Ball.h"
#include "game/board/Cell.h"
#include "game/progress/PowerupManager.h"
#include "tests/engine/render/RenderTest.h"

namespace moonbrook::test {
namespace {

// The named nodes of the game scene that the board's presentation reads or writes.
const std::vector<std::vector<const char*>> kHudNodes = {
    {"candy_requestor0", "candy_requestor1", "candy_requestors"},
    {"highlights", "coin_highlights", "plates_count", "tokens_count", "time", "score", "timeStars"},
    {"powerup_hammer", "powerup_random", "powerup_color", "powerup_bonuses"}};

std::string layerString(const std::vector<std::string>& rows) {
    std::string layer;
    for (std::size_t y = 0; y < rows.size() && y < kSizeY; ++y) {
        std::string row = rows[y].substr(0, kSizeX);
        row.resize(kSizeX, '0');
        layer += row;
    }
    return layer;
}

}  // namespace

BoardTest::BoardTest() {
    kt::KTInstallActionsModule();
    kt::KTInstallRenderModule(std::make_shared<kt::test::RecordingBackend>());
    kt::KTResourceManager::shared().setBaseDataPath(MOONBROOK_CONTENT_ROOT "/");
    PowerupManager::resetCurrentPowerupManager();
    kt::KTRandom::shared().seed(7);

    scene = kt::KTNode::node<kt::KTScene>();
    holder = kt::KTNode::node();
    holder->setPosition({52, 120});
    scene->addChild(holder, "board");
    for (const auto& group : kHudNodes) {
        for (const char* name : group)
            scene->addChild(kt::KTNode::node(), name);
    }
    presentation = std::make_shared<ScenePresentation>(scene);
    runScene(scene);
}

BoardTest::~BoardTest() {
    PowerupManager::resetCurrentPowerupManager();
}

void BoardTest::TearDown() {
    board.reset();
    holder.reset();
    scene.reset();
    EngineTest::TearDown();
}

kt::KTPlist BoardTest::levelData(const Layers& layers, kt::KTPlist probs, kt::KTPlist delays,
                                 kt::KTPlist reqs) {
    kt::KTPlist data = kt::KTPlist::emptyDictionary();
    kt::KTPlist& options = data["options"];
    options["map"] = layerString(layers.map);
    options["emitters"] = layerString(layers.emitters);
    options["locks"] = layerString(layers.locks);
    options["crates"] = layerString(layers.crates);
    options["preplaced_balls"] = layerString(layers.balls);
    options["time_limit"] = 120;
    data["probs"] = std::move(probs);
    data["delays"] = std::move(delays);
    data["reqs"] = std::move(reqs);
    data["id"] = 0;
    return data;
}

std::shared_ptr<Board> BoardTest::makeBoard(const Layers& layers, kt::KTPlist probs, kt::KTPlist delays,
                                            kt::KTPlist reqs) {
    if (board && board->parent()) board->parent()->removeChild(board.get());
    board = Board::board();
    board->setPresentation(presentation);
    holder->addChild(board);
    board->setLevelData("test", levelData(layers, std::move(probs), std::move(delays), std::move(reqs)));
    board->reset();
    return board;
}

std::shared_ptr<Board> BoardTest::fill(Layers layers, kt::KTPlist reqs) {
    for (std::size_t y = layers.map.size(); y < layers.balls.size(); ++y)
        layers.map.push_back(std::string(layers.balls[y].size(), '1'));
    return makeBoard(layers, {}, {}, std::move(reqs));
}

void BoardTest::step(int frames, float dt) {
    kt::KTDirector& director = kt::KTDirector::shared();
    director.setFixedDeltaTime(dt);
    for (int i = 0; i < frames; ++i) {
        director.doUpdate();
        director.doDraw();
    }
}

void BoardTest::stepFor(float seconds) {
    // Less a hair, so that a time of whole frames held in a float takes no frame more.
    step(static_cast<int>(std::ceil(seconds * 60 - 1e-3f)));
}

bool BoardTest::settle(int maxFrames) {
    for (int i = 0; i < maxFrames; ++i) {
        const bool wasIdle = board->idle();
        step();
        // A frame that starts idle may still start a fall, once a placeholder has vanished at its end.
        if (wasIdle && board->idle()) return true;
    }
    return false;
}

std::vector<std::string> BoardTest::rows(int y0, int y1) const {
    std::vector<std::string> text;
    for (int y = y0; y <= y1; ++y) {
        std::string row;
        for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
            const CellRef cell = board->cellAt(x, y);
            if (!cell) {
                row += ' ';
            } else if (!cell->ball() || cell->ball()->type() == u'0') {
                row += '.';
            } else {
                row += static_cast<char>(cell->ball()->type());
            }
        }
        while (!row.empty() && row.back() == ' ')
            row.pop_back();
        text.push_back(row);
    }
    return text;
}

std::vector<std::string> BoardTest::effectSounds(const kt::KTNode& parent, std::size_t from) {
    std::vector<std::string> sounds;
    const auto& effects = parent.children();
    for (std::size_t i = from; i < effects.count(); ++i) {
        const auto& effect = *(effects.begin() + static_cast<std::ptrdiff_t>(i));
        for (const auto& part : effect->children()) {
            const std::string* file = part->attributes().find("filename");
            if (file && file->starts_with("data/sounds/")) sounds.push_back(*file);
        }
    }
    return sounds;
}

}  // namespace moonbrook::test
