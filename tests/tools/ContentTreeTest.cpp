// Checks the data/ tree that the content build produced beside the program: every file the board and the
// game name exists, and every file named inside a data file exists too.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/core/KTFormat.h"
#include "engine/core/KTPlist.h"
#include "engine/core/XMLElement.h"

namespace moonbrook {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = MOONBROOK_CONTENT_ROOT;

constexpr std::string_view kBallLetters = "abcdefghijklmnopqrst0";

std::vector<std::string> filesTheGameNames() {
    std::vector<std::string> names = {
        "data/gfx/icon.png",
        "data/fonts/default.xml",
        "data/episodes.plist",
        "data/level_timelimits.xml",
        "data/scenes/splash.sg.xml",
        "data/scenes/logo.sg.xml",
        "data/scenes/story.sg.xml",
        "data/gfx/board/grid.sprite.xml",
        "data/gfx/board/hint.sprite.xml",
        "data/gfx/board/plate_hl.sprite.xml",
        "data/gfx/board/coin_hl.sprite.xml",
        "data/gfx/board/lock.png",
        "data/gfx/board/stone_crate_0.png",
        "data/gfx/board/stone_crate_1.png",
        "data/gfx/board/wooden_crate.png",
        "data/gfx/gui/editor/emitter.png",
    };
    for (const char* piece :
         {"top", "right", "bottom", "left", "corner_in_top_right", "corner_in_bottom_right",
          "corner_in_bottom_left", "corner_in_top_left", "corner_out_top_right", "corner_out_bottom_right",
          "corner_out_bottom_left", "corner_out_top_left"}) {
        names.push_back(kt::KTFormat("data/gfx/board/frame/%s.png", piece));
    }
    for (int i = 1; i <= 3; ++i) {
        names.push_back(kt::KTFormat("data/gfx/board/wooden_crate%i.png", i));
        names.push_back(kt::KTFormat("data/gfx/board/board_%02d.png", i));
    }
    for (const char letter : kBallLetters) {
        names.push_back(kt::KTFormat("data/gfx/balls/%c.sprite.xml", letter));
        names.push_back(kt::KTFormat("data/gfx/balls/%c/01.png", letter));
        if (letter == '0') continue;
        names.push_back(kt::KTFormat("data/effects/remove_ball%c.xml", letter));
        names.push_back(kt::KTFormat("data/effects/place_%c.xml", letter));
        for (int slot = 0; slot < 2; ++slot)
            names.push_back(kt::KTFormat("data/effects/remove_ball%c_tr%i.xml", letter, slot));
    }
    for (const char* effect : {"ball_score",
                               "bat",
                               "bats",
                               "bonuses",
                               "button_click",
                               "click",
                               "click_lock",
                               "explode",
                               "explode_big",
                               "fall",
                               "hammer",
                               "hammer_big",
                               "lightning_sound",
                               "powerup_filled",
                               "pw_hammer",
                               "pw_hammer_big",
                               "pw_remove_color",
                               "pw_remove_color2",
                               "pw_remove_color3",
                               "pw_remove_color_step",
                               "pw_scythe",
                               "remove",
                               "remove_big",
                               "remove_big_candy_sound",
                               "remove_big_sound",
                               "remove_candy",
                               "remove_crate_s1",
                               "remove_crate_s2",
                               "remove_crate_w",
                               "remove_epic",
                               "remove_epic_candy_sound",
                               "remove_epic_sound",
                               "remove_plate1",
                               "remove_plate2",
                               "scythe",
                               "swap",
                               "swap_unres",
                               "unlock",
                               "win"}) {
        names.push_back(kt::KTFormat("data/effects/%s.xml", effect));
    }
    for (int character = 1; character <= 8; ++character) {
        names.push_back(kt::KTFormat("data/Characters/%i.sprite.xml", character));
    }
    for (const char* piece :
         {"Spooky_Suspense", "The_Mystic", "The_Secret_Path", "a_midnight_symphony", "atlantis_speaks_to_us",
          "funky_uncle_fester", "mischief_In_suburbia", "monster-factory-complete"}) {
        names.push_back(kt::KTFormat("data/music/%s.ogg", piece));
    }
    return names;
}

TEST(ContentTree, HoldsEveryFileTheGameNames) {
    for (const std::string& name : filesTheGameNames())
        EXPECT_TRUE(fs::is_regular_file(kRoot / name)) << name;
}

std::set<std::string> namedChildren(const kt::XMLElement& element, std::string_view elementName) {
    std::set<std::string> names;
    for (const kt::XMLElement& child : element.children()) {
        if (child.name() == elementName && child.attribute("name")) names.insert(*child.attribute("name"));
    }
    return names;
}

bool containsAll(const std::set<std::string>& names, std::initializer_list<const char*> wanted) {
    return std::all_of(wanted.begin(), wanted.end(), [&](const char* name) { return names.contains(name); });
}

TEST(ContentTree, SpritesHaveTheAnimationsAndPartsTheBoardAsksFor) {
    for (const char letter : kBallLetters) {
        const auto sprite =
            kt::XMLElement::fromFile((kRoot / kt::KTFormat("data/gfx/balls/%c.sprite.xml", letter)).string());
        ASSERT_TRUE(sprite) << letter;
        const auto animations = namedChildren(*sprite, "animation");
        EXPECT_TRUE(animations.contains("default")) << letter;
        if (letter != '0') {
            EXPECT_TRUE(containsAll(animations, {"selected", "active", "lightwave", "random"})) << letter;
        }
    }
    const auto grid = kt::XMLElement::fromFile((kRoot / "data/gfx/board/grid.sprite.xml").string());
    ASSERT_TRUE(grid);
    EXPECT_TRUE(
        containsAll(namedChildren(*grid, "animation"), {"default", "plate1", "plate2", "active", "none"}));
    for (int character = 1; character <= 8; ++character) {
        const auto sprite = kt::XMLElement::fromFile(
            (kRoot / kt::KTFormat("data/Characters/%i.sprite.xml", character)).string());
        ASSERT_TRUE(sprite) << character;
        EXPECT_TRUE(containsAll(
            namedChildren(*sprite, "animation"),
            {"default", "appearance", "victory", "random1", "random2", "random3", "random4", "random5"}))
            << character;
        const auto request =
            std::find_if(sprite->children().begin(), sprite->children().end(), [](const auto& child) {
                return child.attribute("name") && *child.attribute("name") == "request";
            });
        ASSERT_NE(request, sprite->children().end()) << character;
        EXPECT_TRUE(containsAll(namedChildren(*request, "state"), {"hidden", "default"})) << character;
        EXPECT_TRUE(namedChildren(*request, "text").contains("count")) << character;
        EXPECT_TRUE(namedChildren(*request, "container").contains("type")) << character;
    }
}

// Attributes whose values are resource names, resolved from the program's folder.
bool namesAResource(const std::string& attribute) {
    return attribute == "filename" || attribute == "affine_animation" || attribute == "content" ||
           attribute == "font" || attribute == "on_finish";
}

void expectReferencesExist(const kt::XMLElement& element, const fs::path& file) {
    for (const auto& [attribute, value] : element.attributes()) {
        if (namesAResource(attribute)) {
            EXPECT_TRUE(fs::is_regular_file(kRoot / value)) << file << " names " << value;
        }
    }
    for (const kt::XMLElement& child : element.children())
        expectReferencesExist(child, file);
}

TEST(ContentTree, EveryFileNamedInsideAnXMLDataFileExists) {
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / "data")) {
        if (entry.path().extension() != ".xml" || entry.path().parent_path().filename() == "levels") continue;
        const auto root = kt::XMLElement::fromFile(entry.path().string());
        ASSERT_TRUE(root) << entry.path() << " does not parse";
        expectReferencesExist(*root, entry.path());
        if (const kt::XMLElement* pages = root->childNamed("pages")) {
            for (const kt::XMLElement& page : pages->children()) {
                EXPECT_TRUE(fs::is_regular_file(entry.path().parent_path() / *page.attribute("file")))
                    << entry.path();
            }
        }
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

TEST(ContentTree, EveryFileOfEveryPreloadListExists) {
    for (const char* listName : {"data/preload.plist", "data/preload_main.plist", "data/preload_story.plist",
                                 "data/preload_game.plist"}) {
        const auto list = kt::KTPlist::readFile((kRoot / listName).string());
        ASSERT_TRUE(list) << listName;
        EXPECT_GT(list->size(), 10u) << listName;
        for (const kt::KTPlist& name : list->arrayValue()) {
            EXPECT_TRUE(fs::is_regular_file(kRoot / name.stringValue()))
                << listName << ": " << name.stringValue();
        }
    }
}

TEST(ContentTree, EveryAtlasFrameIsAlsoAPictureOfItsOwn) {
    int atlases = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / "data")) {
        if (!entry.path().string().ends_with(".atlas.plist")) continue;
        const auto atlas = kt::KTPlist::readFile(entry.path().string());
        ASSERT_TRUE(atlas) << entry.path();
        const std::string texture = (*atlas)["metadata"]["textureFileName"].stringValue();
        EXPECT_TRUE(fs::is_regular_file(entry.path().parent_path() / texture)) << entry.path();
        EXPECT_GT((*atlas)["frames"].size(), 0u) << entry.path();
        for (const std::string& frame : (*atlas)["frames"].keys()) {
            EXPECT_TRUE(fs::is_regular_file(kRoot / frame)) << entry.path() << " frame " << frame;
        }
        ++atlases;
    }
    EXPECT_GE(atlases, 2);
}

}  // namespace
}  // namespace moonbrook
