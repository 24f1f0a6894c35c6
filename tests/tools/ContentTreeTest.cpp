// Checks the data/ tree that the content build produced beside the program: every file the board and the
// game name exists, and every file named inside a data file exists too.
#include <gtest/gtest.h>

#include <filesystem>
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
        "data/gfx/board/grid.sprite.xml",
        "data/gfx/board/hint.sprite.xml",
        "data/gfx/board/plate_hl.sprite.xml",
        "data/gfx/board/coin_hl.sprite.xml",
        "data/gfx/board/lock.png",
        "data/gfx/board/stone_crate_0.png",
        "data/gfx/board/stone_crate_1.png",
        "data/gfx/board/wooden_crate.png",
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
    }
    return names;
}

TEST(ContentTree, HoldsEveryFileTheGameNames) {
    for (const std::string& name : filesTheGameNames())
        EXPECT_TRUE(fs::is_regular_file(kRoot / name)) << name;
}

// Attributes whose values are resource names, resolved from the program's folder.
bool namesAResource(const std::string& attribute) {
    return attribute == "filename" || attribute == "affine_animation" || attribute == "content" ||
           attribute == "font";
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
