#include "editor/EditorBoard.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <utility>

#include "engine/core/KTContentLog.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "game/board/BoardConstants.h"

namespace moonbrook {

namespace {

constexpr int kColumns = static_cast<int>(kSizeX);
constexpr int kRows = static_cast<int>(kSizeY);
constexpr int kCellCount = kColumns * kRows;
constexpr const char* kLayers[] = {"map", "crates", "preplaced_balls", "locks", "emitters"};
// The weights a level without any starts with: every ordinary ball equally likely, none delayed.
constexpr char16_t kFirstOrdinaryBall = u'a';

std::string letterKey(char16_t type) {
    return std::string(1, static_cast<char>(type));
}

char16_t layerAt(const std::string& layer, int index) {
    const auto at = static_cast<std::size_t>(index);
    return at < layer.size() ? static_cast<char16_t>(static_cast<unsigned char>(layer[at])) : u'0';
}

EditorCellState cellStateAt(const kt::KTPlist& options, int index) {
    EditorCellState state;
    state.emitter = layerAt(options["emitters"].stringValue(), index) != u'0';
    const char16_t map = layerAt(options["map"].stringValue(), index);
    if (map == u'0') return state;
    state.plates = static_cast<int>(map) - '1';
    state.ballType = layerAt(options["preplaced_balls"].stringValue(), index);
    state.locked = layerAt(options["locks"].stringValue(), index) != u'0';
    state.crateType = layerAt(options["crates"].stringValue(), index);
    return state;
}

// The five layer characters of a cell, in the order of kLayers.
std::array<char, 5> layerCharacters(const EditorCellState& state) {
    return {static_cast<char>(state.plates < 0 ? '0' : '1' + state.plates),
            static_cast<char>(state.crateType), static_cast<char>(state.ballType), state.locked ? '1' : '0',
            state.emitter ? '1' : '0'};
}

bool keptKey(const std::string& key) {
    if (key.empty()) return false;
    const char first = key.front();
    return (first >= 'a' && first <= 'z') || (first >= '0' && first <= '9');
}

kt::KTPlist filtered(const kt::KTPlist& table) {
    kt::KTPlist kept = kt::KTPlist::emptyDictionary();
    for (const auto& [key, value] : table.dictionaryValue()) {
        if (keptKey(key)) kept[key] = value;
    }
    return kept;
}

// Gives the level the tables the editor shows, so that the designer can raise a weight from nothing.
void addMissingTables(kt::KTPlist& level) {
    auto addPerBall = [&level](const char* table, const kt::KTPlist& value) {
        if (level.contains(table)) return;
        kt::KTPlist& entries = level[table];
        entries = kt::KTPlist::emptyDictionary();
        for (char16_t type = kFirstOrdinaryBall; type <= kLastOrdinaryBall; ++type)
            entries[letterKey(type)] = value;
    };
    addPerBall("probs", 1.0);
    addPerBall("delays", 0);
    if (!level.contains("reqs")) level["reqs"] = kt::KTPlist::emptyDictionary();
}

}  // namespace

const kt::KTClass& EditorBoard::staticClass() {
    static const kt::KTClass& cls =
        kt::KTClass::define<EditorBoard>("EditorBoard", kt::KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(EditorBoard);

std::shared_ptr<EditorBoard> EditorBoard::boardWithFile(const kt::CGRect& rect, const std::string& path) {
    auto board = kt::KTNode::node<EditorBoard>();
    board->setPosition(rect.origin);
    board->setSize(rect.size);
    board->background_ = kt::KTResourceManager::shared().getImage("data/gfx/board/board_01.png");
    board->buildCells();
    board->loadFile(path);
    return board;
}

void EditorBoard::buildCells() {
    const float cellW = w() / static_cast<float>(kColumns);
    const float cellH = h() / static_cast<float>(kRows);
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            auto cell = kt::KTNode::node<EditorCell>();
            cell->init({{static_cast<float>(x) * cellW, static_cast<float>(y) * cellH}, {cellW, cellH}},
                       sharedAs<EditorBoard>());
            cell->setName(kt::KTFormat("cell_%i_%i", x, y));
            cells_.push_back(cell);
            addChild(cell);
        }
    }
}

void EditorBoard::loadFile(const std::string& path) {
    kt::KTLog("loading level from %@", path);
    kt::KTPlist level = kt::KTPlist::emptyDictionary();
    if (std::filesystem::exists(path)) {
        const std::optional<kt::KTPlist> read = kt::KTPlist::readFile(path);
        damaged_ = !read || !read->isDictionary();
        if (damaged_) {
            kt::KTLogContentProblem("level file without a dictionary", path);
        } else {
            level = *read;
        }
    }
    addMissingTables(level);
    applyLevel(level);
    // Compared with the level as this editor writes it, so that the file's own layout is no change.
    dump_ = cleanedLevel().toXML();
}

void EditorBoard::applyLevel(const kt::KTPlist& level) {
    levelData_ = level;
    const kt::KTPlist& options = levelData_["options"];
    for (int index = 0; index < kCellCount; ++index)
        cells_[static_cast<std::size_t>(index)]->setCellState(cellStateAt(options, index));
}

kt::KTPlist EditorBoard::levelData() const {
    kt::KTPlist level = levelData_;
    std::array<std::string, 5> layers;
    for (const auto& cell : cells_) {
        const std::array<char, 5> characters = layerCharacters(cell->cellState());
        for (std::size_t layer = 0; layer < layers.size(); ++layer)
            layers[layer] += characters[layer];
    }
    kt::KTPlist& options = level["options"];
    for (std::size_t layer = 0; layer < layers.size(); ++layer)
        options[kLayers[layer]] = layers[layer];
    return level;
}

kt::KTPlist EditorBoard::cleanedLevel() const {
    kt::KTPlist level = levelData();
    level["probs"] = filtered(level["probs"]);
    level["delays"] = filtered(level["delays"]);
    level.erase("bonuses");
    level["options"].erase("plates");
    return level;
}

kt::KTPlist EditorBoard::savedLevel() const {
    kt::KTPlist level = cleanedLevel();
    if (level.toXML() != dump_) {
        kt::KTLog("UPDATED!");
        level["revision"] = level["revision"].intValue() + 1;
    }
    return level;
}

bool EditorBoard::changed() const {
    return cleanedLevel().toXML() != dump_;
}

bool EditorBoard::saveTo(const std::vector<std::string>& paths, std::string& error) {
    const kt::KTPlist level = savedLevel();
    for (const std::string& path : paths) {
        kt::KTLog("saving level data to %@", path);
        if (!level.writeFile(path)) {
            error = kt::KTFormat("Could not save %@", path);
            return false;
        }
    }
    levelData_["revision"] = level["revision"];
    dump_ = level.toXML();
    damaged_ = false;
    return true;
}

double EditorBoard::prob(char16_t type) const {
    return levelData_["probs"][letterKey(type)].realValue();
}

void EditorBoard::setProb(double prob, char16_t type) {
    // Steps of a tenth add up without drifting off the two decimals shown.
    setNumber("probs", type, std::max(0.0, std::round(prob * 100) / 100));
}

int EditorBoard::delay(char16_t type) const {
    return static_cast<int>(levelData_["delays"][letterKey(type)].intValue());
}

void EditorBoard::setDelay(int delay, char16_t type) {
    setNumber("delays", type, std::max(0, delay));
}

int EditorBoard::req(char16_t type) const {
    return static_cast<int>(levelData_["reqs"][letterKey(type)].intValue());
}

void EditorBoard::setReq(int req, char16_t type) {
    setNumber("reqs", type, std::max(0, req));
}

void EditorBoard::setNumber(const char* table, char16_t type, kt::KTPlist value) {
    if (std::as_const(levelData_)[table][letterKey(type)] == value) return;
    recordChange();
    levelData_[table][letterKey(type)] = std::move(value);
}

std::string EditorBoard::option(const std::string& key) const {
    const kt::KTPlist& value = levelData_["options"][key];
    return value.isNone() ? "0" : value.stringValue();
}

void EditorBoard::setOptionValue(const std::string& key, kt::KTPlist value) {
    if (std::as_const(levelData_)["options"][key] == value) return;
    recordChange();
    levelData_["options"][key] = std::move(value);
}

int EditorBoard::timeLimit() const {
    return static_cast<int>(levelData_["options"]["time_limit"].intValue());
}

void EditorBoard::changeIntOption(const std::string& key, int delta) {
    const auto current = static_cast<int>(kt::KTPlist(option(key)).intValue());
    setOption(key, kt::KTFormat("%i", std::max(0, current + delta)));
}

int EditorBoard::cellsCount() const {
    return static_cast<int>(
        std::ranges::count_if(cells_, [](const auto& cell) { return cell->cellState().plates >= 0; }));
}

int EditorBoard::plates() const {
    int plates = 0;
    for (const auto& cell : cells_)
        plates += std::max(0, cell->cellState().plates);
    return plates;
}

void EditorBoard::paintCell(EditorCell& cell, bool rightButton) {
    const EditorCellState painted = paintedState(cell.cellState(), mode_, ballType_, rightButton);
    if (painted == cell.cellState()) return;
    recordChange();
    cell.setCellState(painted);
}

bool EditorBoard::undo() {
    const std::optional<kt::KTPlist> level = history_.undo(levelData());
    if (level) applyLevel(*level);
    return level.has_value();
}

bool EditorBoard::redo() {
    const std::optional<kt::KTPlist> level = history_.redo(levelData());
    if (level) applyLevel(*level);
    return level.has_value();
}

void EditorBoard::draw() {
    kt::KTRenderer* renderer = render();
    if (!renderer || !background_) return;
    renderer->setImageData(background_.get());
    renderer->drawRect(getRect());
}

}  // namespace moonbrook
