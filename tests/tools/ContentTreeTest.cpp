// Checks the data/ tree that the content build produced beside the program: every file the program names
// exists, every file named inside a data file exists too, and scene files use only elements the loader knows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/KTFormat.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/core/KTPlist.h"
#include "engine/core/XMLElement.h"
#include "tests/tools/ProgramSources.h"

namespace moonbrook {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = MOONBROOK_CONTENT_ROOT;

constexpr std::string_view kBallLetters = "abcdefghijklmnopqrst0";

// The content files the program's sources name in full: quoted "data/..." names outside comments.
std::set<std::string> filesNamedInTheSources() {
    static const std::regex quoted(R"re("(data/[^"%<>]+\.[a-z]+)")re");
    std::set<std::string> names;
    kt::test::forEachProgramSource(
        {"app", "editor", "engine", "game"}, [&](const std::string&, const std::string& code) {
            std::istringstream lines(code);
            for (std::string line; std::getline(lines, line);) {
                line = line.substr(0, line.find("//"));
                for (auto match = std::sregex_iterator(line.begin(), line.end(), quoted);
                     match != std::sregex_iterator(); ++match)
                    names.insert((*match)[1].str());
            }
        });
    return names;
}

// The files the program names by filling in a ball's letter or a crate's damage. The sprites of balls and
// characters, and the ball pictures those sprites name, are required by the sprite and reference tests.
std::vector<std::string> filesNamedByPattern() {
    std::vector<std::string> names;
    for (int i = 1; i <= 3; ++i)
        names.push_back(kt::KTFormat("data/gfx/board/wooden_crate%i.png", i));
    for (const char letter : kBallLetters) {
        if (letter == '0') continue;
        names.push_back(kt::KTFormat("data/effects/remove_ball%c.xml", letter));
        names.push_back(kt::KTFormat("data/effects/place_%c.xml", letter));
        for (int slot = 0; slot < 2; ++slot)
            names.push_back(kt::KTFormat("data/effects/remove_ball%c_tr%i.xml", letter, slot));
    }
    return names;
}

TEST(ContentTree, HoldsEveryFileTheProgramNames) {
    const std::set<std::string> named = filesNamedInTheSources();
    EXPECT_GT(named.size(), 80u) << "the sources were not found";
    for (const std::string& name : named)
        EXPECT_TRUE(fs::is_regular_file(kRoot / name)) << name;
    for (const std::string& name : filesNamedByPattern())
        EXPECT_TRUE(fs::is_regular_file(kRoot / name)) << name;
}

std::set<std::string> namedChildren(const kt::XMLElement& element, std::string_view elementName) {
    std::set<std::string> names;
    for (const kt::XMLElement& child : element.children()) {
        if (child.name() == elementName && child.attribute("name")) names.insert(*child.attribute("name"));
    }
    return names;
}

// Expects the sprite file to hold every wanted animation; answers its root element.
std::shared_ptr<const kt::XMLElement> expectAnimations(const std::string& name,
                                                       std::initializer_list<const char*> wanted) {
    auto sprite = kt::XMLElement::fromFile((kRoot / name).string());
    const std::set<std::string> animations =
        sprite ? namedChildren(*sprite, "animation") : std::set<std::string>();
    for (const char* animation : wanted)
        EXPECT_TRUE(animations.contains(animation)) << name << " lacks " << animation;
    return sprite;
}

TEST(ContentTree, SpritesHaveTheAnimationsAndPartsTheBoardAsksFor) {
    for (const char letter : kBallLetters) {
        const std::string name = kt::KTFormat("data/gfx/balls/%c.sprite.xml", letter);
        if (letter == '0') {
            expectAnimations(name, {"default"});
        } else {
            expectAnimations(name, {"default", "selected", "active", "lightwave", "random"});
        }
    }
    expectAnimations("data/gfx/board/grid.sprite.xml", {"default", "plate1", "plate2", "active", "none"});
    for (int character = 1; character <= 8; ++character) {
        const auto sprite = expectAnimations(
            kt::KTFormat("data/Characters/%i.sprite.xml", character),
            {"default", "appearance", "victory", "random1", "random2", "random3", "random4", "random5"});
        ASSERT_TRUE(sprite) << character;
        const auto request =
            std::find_if(sprite->children().begin(), sprite->children().end(), [](const auto& child) {
                return child.attribute("name") && *child.attribute("name") == "request";
            });
        ASSERT_NE(request, sprite->children().end()) << character;
        const std::set<std::string> states = namedChildren(*request, "state");
        EXPECT_TRUE(states.contains("hidden") && states.contains("default")) << character;
        EXPECT_TRUE(namedChildren(*request, "text").contains("count")) << character;
        EXPECT_TRUE(namedChildren(*request, "container").contains("type")) << character;
    }
}

// Attributes whose values are resource names, resolved from the program's folder.
bool namesAResource(const std::string& attribute) {
    return attribute == "filename" || attribute == "affine_animation" || attribute == "content" ||
           attribute == "font" || attribute == "on_finish";
}

// Element names the scene-file loader skips silently when misspelt: every one must be in the node factory's
// table, apart from states, transitions, tooltips and the keys of affine animations.
bool isKnownElement(const std::string& name) {
    return name == "state" || name == "transition" || name == "tooltip" || name == "key" ||
           !kt::KTNodeFactory::classNameForElement(name).empty();
}

void expectReferencesExist(const kt::XMLElement& element, const fs::path& file, bool sceneFile) {
    for (const auto& [attribute, value] : element.attributes()) {
        if (namesAResource(attribute)) {
            EXPECT_TRUE(fs::is_regular_file(kRoot / value)) << file << " names " << value;
        }
    }
    for (const kt::XMLElement& child : element.children()) {
        EXPECT_TRUE(!sceneFile || isKnownElement(child.name())) << file << ": <" << child.name() << ">";
        expectReferencesExist(child, file, sceneFile);
    }
}

// Levels are property lists, checked on their own; the fonts, the level lists and the affine animations are
// read by loaders of their own, every other XML file by the scene-file loader.
TEST(ContentTree, XMLDataFilesNameOnlyFilesThatExistAndElementsTheNodeFactoryBuilds) {
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / "data")) {
        const std::string folder = entry.path().parent_path().filename().string();
        if (entry.path().extension() != ".xml" || folder == "levels") continue;
        const auto root = kt::XMLElement::fromFile(entry.path().string());
        ASSERT_TRUE(root) << entry.path() << " does not parse";
        expectReferencesExist(*root, entry.path(), folder != "fonts" && folder != "data" && folder != "anim");
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
