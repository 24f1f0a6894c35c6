#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "engine/core/KTPlist.h"
#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"

namespace moonbrook::test {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCells = 20 * 13;
constexpr const char* kLevelSet =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><array>"
    "<string>001</string><string>002</string><string>003</string></array></plist>\n";

// A layer of '0' with the given characters at the given cell indexes.
std::string layer(std::initializer_list<std::pair<std::size_t, char>> set) {
    std::string text(kCells, '0');
    for (const auto& [index, character] : set)
        text[index] = character;
    return text;
}

// The script line that clicks cell (x, y) of the editor's field with the right button.
std::string rightClick(int x, int y) {
    return "click " + std::to_string(27 + 46 * x) + " " + std::to_string(27 + 46 * y) + " right\n";
}

// The editor in development mode on a copy of the game's levels (everything else of the content linked),
// with a level set of three levels.
class EditorProgramTest : public ProgramRunTest {
protected:
    EditorProgramTest() {
        const fs::path data = folder_.path() / "data";
        fs::create_directories(data);
        for (const auto& entry : fs::directory_iterator(MOONBROOK_CONTENT_DATA)) {
            if (entry.path().filename() == "levels") {
                fs::copy(entry.path(), data / "levels");
            } else if (entry.path().filename() != "levelset.xml") {
                fs::create_symlink(entry.path(), data / entry.path().filename());
            }
        }
        folder_.write("data/levelset.xml", kLevelSet);
        folder_.write("devmode", "");
    }

    // Edits the level with the script, which must end the run itself.
    void edit(const std::string& level, const std::string& script) {
        ASSERT_EQ(runScript("wait 2\n" + script, {"--edit", level}), 0) << errorOutput_;
    }
    kt::KTPlist level(const std::string& name) const {
        return kt::KTPlist::readFile((folder_.path() / "data/levels" / (name + ".xml")).string())
            .value_or(kt::KTPlist());
    }
    std::string shownText(const nlohmann::json& scene, const std::string& node) const {
        const nlohmann::json* found = findNode(scene["tree"], node);
        return found ? (*found)["text"].get<std::string>() : "(no node " + node + ")";
    }
};

TEST_F(EditorProgramTest, EveryPaintingModeIsSavedInItsLayerAndPlaysUnchanged) {
    edit("new",
         // Cells: one without plate, one with one plate, one with two (a third click adds none).
         "click-node cell_0_0\n"
         "click-node cell_1_0\nclick-node cell_1_0\n"
         "click-node cell_2_0\nclick-node cell_2_0\nclick-node cell_2_0\nclick-node cell_2_0\n"
         // A cell made and taken away again is no cell.
         "click-node cell_4_0\n" +
             rightClick(4, 0) + "click-node locks_mode\nclick-node cell_0_0\nclick-node cell_5_0\n" +
             rightClick(5, 0) +
             "click-node emitters_mode\nclick-node cell_3_0\n"
             "click-node wooden_crates_mode\nclick-node cell_1_0\n"
             "click-node stone_crates_mode\nclick-node cell_2_0\n"
             "click-node ball_c\nclick-node cell_0_0\n"
             "click-node ball_k\nclick-node cell_1_0\nclick-node cell_2_0\n" +
             // The unlocked cell's ball goes, the locked cell's stays.
             rightClick(1, 0) + rightClick(0, 0) +
             "click-node save\n"
             "dump scene scene.json\n"
             "screenshot editor.png\n"
             "quit\n");
    const kt::KTPlist saved = level("new");
    const kt::KTPlist& options = saved["options"];
    EXPECT_EQ(options["map"].stringValue(), layer({{0, '1'}, {1, '2'}, {2, '3'}}));
    EXPECT_EQ(options["locks"].stringValue(), layer({{0, '1'}}));
    EXPECT_EQ(options["emitters"].stringValue(), layer({{3, '1'}}));
    EXPECT_EQ(options["crates"].stringValue(), layer({{1, 'w'}, {2, 's'}}));
    EXPECT_EQ(options["preplaced_balls"].stringValue(), layer({{0, 'c'}, {2, 'k'}}));
    EXPECT_EQ(saved["revision"].intValue(), 1);
    const nlohmann::json scene = dumped("scene.json");
    EXPECT_EQ(scene["class"], "EditorScene");
    EXPECT_EQ(shownText(scene, "message"), "Saved new.");
    EXPECT_EQ(shownText(scene, "cells_count_txt"), "3 / 3");
    EXPECT_EQ(shownText(scene, "mode_txt"), "Ball");

    ASSERT_EQ(runScript("wait 2\ndump board board.json\nquit\n", {"--level", "new"}), 0) << errorOutput_;
    const nlohmann::json board = dumped("board.json");
    nlohmann::json cells;
    nlohmann::json balls;
    for (const nlohmann::json& cell : board["cells"]) {
        const std::string at = cell["x"].dump() + "," + cell["y"].dump();
        cells[at] = {cell["plates"], cell["locked"], cell["crate"], cell["emitter"]};
        balls[at] = cell["ball"];
    }
    // Each cell's plates, lock, crate and emitter.
    EXPECT_EQ(cells, nlohmann::json::parse(R"({"0,0": [0, true, "0", false], "1,0": [1, false, "w", false],
        "2,0": [2, false, "s", false], "3,0": [0, false, "0", true]})"));
    EXPECT_EQ(balls["0,0"], "c");
}

TEST_F(EditorProgramTest, RevisionRisesOnlyWhenTheSavedTextChanges) {
    folder_.write(
        "data/levels/t.xml",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>id</key><integer>7</integer>"
        "<key>bonuses</key><array><string>x</string></array>"
        "<key>options</key><dict><key>map</key><string>111</string><key>plates</key><string></string>"
        "<key>time_limit</key><integer>90</integer></dict>"
        "<key>probs</key><dict><key>a</key><real>0.5</real><key>b</key><real>0.2</real>"
        "<key>1</key><real>0.3</real><key>A</key><real>1</real><key>:</key><real>1</real></dict>"
        "<key>delays</key><dict><key>a</key><integer>4</integer><key>Z</key><integer>1</integer></dict>"
        "</dict></plist>\n");
    edit("t", "click-node save\nquit\n");
    const std::string first = folder_.read("data/levels/t.xml");
    const kt::KTPlist saved = level("t");
    EXPECT_FALSE(saved.contains("revision"));
    EXPECT_FALSE(saved.contains("bonuses"));
    EXPECT_FALSE(saved["options"].contains("plates"));
    EXPECT_EQ(saved["options"]["time_limit"].intValue(), 90);
    EXPECT_EQ(saved["probs"].keys(), (std::vector<std::string>{"a", "b", "1"}));
    EXPECT_EQ(saved["delays"].keys(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(saved["options"]["map"].stringValue(), layer({{0, '1'}, {1, '1'}, {2, '1'}}));

    edit("t", "click-node save\nquit\n");
    EXPECT_EQ(folder_.read("data/levels/t.xml"), first);

    edit("t",
         "click-node inc_prob_a\n"
         "click-node dec_prob_b\nclick-node dec_prob_b\nclick-node dec_prob_b\n"
         "click-node inc_delay_c\nclick-node inc_req_d\nclick-node inc_req_d\n"
         "click-node inc_option_gold_time\nclick-node inc_option_gold_time\nclick-node dec_option_balls\n"
         "click-node save\nclick-node save\ndump scene scene.json\nquit\n");
    const kt::KTPlist changed = level("t");
    EXPECT_EQ(changed["revision"].intValue(), 1);
    EXPECT_DOUBLE_EQ(changed["probs"]["a"].realValue(), 0.6);
    EXPECT_DOUBLE_EQ(changed["probs"]["b"].realValue(), 0);
    EXPECT_EQ(changed["delays"]["c"].intValue(), 1);
    EXPECT_EQ(changed["reqs"]["d"].intValue(), 2);
    EXPECT_EQ(changed["options"]["gold_time"].stringValue(), "2");
    EXPECT_EQ(changed["options"]["balls"].stringValue(), "0");
    const nlohmann::json scene = dumped("scene.json");
    EXPECT_EQ(shownText(scene, "prob_txt_a"), "0.60");
    EXPECT_EQ(shownText(scene, "prob_txt_b"), "0.00");
    EXPECT_EQ(shownText(scene, "req_txt_d"), "2");
    EXPECT_EQ(shownText(scene, "gold_time_txt"), "2");
}

// A save and a move also reach the repository's data folder that the file beside the program names.
TEST_F(EditorProgramTest, MovingALevelReordersTheSetWithinItsEndsAndSavesReachTheRepositoryToo) {
    fs::create_directories(folder_.path() / "repository/data/levels");
    folder_.write("repository-data.txt", (folder_.path() / "repository/data").string() + "\n");
    // The first level moves no further up.
    edit("001",
         "click-node moveLevel_-1\nclick-node cell_0_0\nclick-node save\nclick-node moveLevel_1\n"
         "dump scene moved.json\n"
         "click-node switchLevel_1\ndump scene switched.json\nclick-node switchLevel_1\ndump scene "
         "end.json\nquit\n");
    const kt::KTPlist set = kt::KTPlist::readFile((folder_.path() / "data/levelset.xml").string()).value();
    ASSERT_EQ(set.size(), 3u);
    EXPECT_EQ(set.at(0).stringValue(), "002");
    EXPECT_EQ(set.at(1).stringValue(), "001");
    EXPECT_EQ(set.at(2).stringValue(), "003");
    EXPECT_EQ(shownText(dumped("moved.json"), "levelidx"), "1");
    EXPECT_EQ(shownText(dumped("switched.json"), "levelname"), "003");
    EXPECT_EQ(shownText(dumped("switched.json"), "levelidx"), "2");
    EXPECT_EQ(shownText(dumped("end.json"), "levelname"), "003");
    EXPECT_EQ(folder_.read("repository/data/levels/001.xml"), folder_.read("data/levels/001.xml"));
    EXPECT_EQ(folder_.read("repository/data/levelset.xml"), folder_.read("data/levelset.xml"));
}

TEST_F(EditorProgramTest, ASaveThatCannotBeWrittenKeepsTheLevelOpenAndTheFileWhole) {
    const std::string before = folder_.read("data/levels/001.xml");
    // A folder where the save's temporary file would go makes the write fail, even for the superuser.
    fs::create_directories(folder_.path() / "data/levels/001.xml.tmp");
    edit("001",
         "click-node cell_0_0\nclick-node save\nclick-node saveexit\nclick-node switchLevel_1\n"
         "dump scene scene.json\nquit\n");
    EXPECT_EQ(folder_.read("data/levels/001.xml"), before);
    const nlohmann::json scene = dumped("scene.json");
    EXPECT_EQ(scene["class"], "EditorScene");
    EXPECT_EQ(shownText(scene, "levelname"), "001");
    EXPECT_NE(shownText(scene, "message").find("Could not save"), std::string::npos)
        << shownText(scene, "message");
}

TEST_F(EditorProgramTest, ADamagedLevelOpensEmptyAndIsReplacedOnlyByASave) {
    const std::string damaged = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>options</key>";
    folder_.write("data/levels/002.xml", damaged);
    edit("002", "dump scene scene.json\nclick-node switchLevel_1\nquit\n");
    EXPECT_EQ(folder_.read("data/levels/002.xml"), damaged);
    EXPECT_NE(shownText(dumped("scene.json"), "message").find("damaged"), std::string::npos);

    edit("002", "click-node cell_0_0\nclick-node save\nquit\n");
    EXPECT_EQ(level("002")["options"]["map"].stringValue(), layer({{0, '1'}}));
}

// Ctrl+Z and Ctrl+Y undo and redo painting and options, then the background steps, which Ctrl+Z undoes too.
TEST_F(EditorProgramTest, CtrlZAndCtrlYUndoAndRedoAndTheBackgroundChooserStepsThroughThePartialsInTheList) {
    fs::remove(folder_.path() / "data/partials");
    fs::create_directories(folder_.path() / "data/partials/backgrounds");
    for (const char* name : {"dawn.xml", "dusk.xml", "night.xml"})
        folder_.write(std::string("data/partials/backgrounds/") + name, "<container name=\"picture\"/>\n");
    edit("new",
         "click-node cell_0_0\nclick-node cell_1_0\nclick-node cell_2_0\nclick-node inc_option_rate_limit\n"
         "key Left Ctrl\nkey z\nkey z\nkey z\nkey y\n"
         "click-node nextBg\nclick-node nextBg\nclick-node nextBg\nclick-node nextBg\nclick-node prevBg\n"
         "dump scene scene.json\nclick-node save\nkey Left Ctrl\nkey z\ndump scene undone.json\nquit\n");
    const kt::KTPlist saved = level("new");
    EXPECT_EQ(saved["options"]["map"].stringValue(), layer({{0, '1'}, {1, '1'}}));
    EXPECT_FALSE(saved["options"].contains("rate_limit"));
    EXPECT_EQ(saved["options"]["background"].stringValue(), "dusk.xml");
    const nlohmann::json scene = dumped("scene.json");
    EXPECT_EQ(shownText(scene, "rate_limit_txt"), "0");
    EXPECT_EQ(shownText(scene, "bg_txt"), "dusk.xml");
    EXPECT_NE(findNode(scene["tree"], "picture"), nullptr);
    EXPECT_EQ(shownText(dumped("undone.json"), "bg_txt"), "night.xml");
}

TEST_F(EditorProgramTest, TheLevelCheckPlaysTheLevelInTheBackgroundAndSuggestsItsTimes) {
    edit("001",
         "click-node check\n"
         "wait 2\n"
         "dump scene running.json\n"
         "click-node cell_0_12\n"
         "wait-state checked 30000\n"
         "dump scene checked.json\n"
         "click-node apply_check\n"
         "click-node save\n"
         "quit\n");
    const nlohmann::json running = dumped("running.json");
    EXPECT_EQ(running["state"], "checking");
    EXPECT_EQ(shownText(running, "check_status").rfind("Playing the level: ", 0), 0u);
    const nlohmann::json checked = dumped("checked.json");
    EXPECT_EQ(shownText(checked, "check_status").rfind("Won ", 0), 0u) << shownText(checked, "check_status");
    EXPECT_EQ(shownText(checked, "check_locks"), "No soft-lock found");

    const kt::KTPlist saved = level("001");
    // The editor stayed usable while the check ran.
    EXPECT_EQ(saved["options"]["map"].stringValue().at(240), '1');
    EXPECT_GT(saved["options"]["gold_time"].intValue(), 0);
    EXPECT_GT(saved["options"]["time_limit"].intValue(), saved["options"]["gold_time"].intValue());
}

}  // namespace
}  // namespace moonbrook::test
