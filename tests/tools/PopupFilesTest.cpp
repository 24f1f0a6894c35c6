// Checks the partials the game scene loads by name: a tutorial popup must exist for every name the game can
// ask for (a missing one is recorded as shown and never appears), keep the board under it from being clicked
// and offer the button that resumes the level.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTFormat.h"
#include "engine/core/KTTextValues.h"
#include "engine/core/XMLElement.h"

namespace moonbrook {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = MOONBROOK_CONTENT_ROOT;

constexpr const char* kTutorials[] = {"basics",   "plates", "tokens",   "locks",  "crates_w",
                                      "crates_s", "ball_f", "ball_g",   "ball_h", "ball_i",
                                      "ball_j",   "ball_q", "ball_r",   "ball_s", "requestors",
                                      "bomb",     "hammer", "hameleon", "remc",   "rocket"};

// A node that a partial builds: its element's name and its attributes, those of the root of a file named by
// "content" first, overridden by the element's own (the order in which the engine applies them).
struct PartialNode {
    std::string kind;
    kt::XMLAttributes attributes;

    float number(std::string_view attribute) const {
        const std::string* value = attributes.find(attribute);
        return value ? static_cast<float>(kt::KTLeadingReal(*value)) : 0;
    }
    bool is(std::string_view attribute, std::string_view value) const {
        const std::string* found = attributes.find(attribute);
        return found && *found == value;
    }
};

// The root of the file an element names by "content"; none when it names no file.
std::shared_ptr<const kt::XMLElement> contentOf(const kt::XMLElement& element) {
    const std::string* content = element.attribute("content");
    return content ? kt::XMLElement::fromFile((kRoot / *content).string()) : nullptr;
}

// Adds the nodes an element's children build, in drawing order, with the files named by "content" opened
// where they are named. The element itself is left out: a partial's root gives its attributes to the node the
// game loads the partial into.
void addChildrenOf(const kt::XMLElement& element, std::vector<PartialNode>& nodes) {
    if (const auto included = contentOf(element)) addChildrenOf(*included, nodes);
    for (const kt::XMLElement& child : element.children()) {
        const auto included = contentOf(child);
        PartialNode node{child.name(), included ? included->attributes() : kt::XMLAttributes()};
        for (const auto& [name, value] : child.attributes())
            node.attributes.set(name, value);
        nodes.push_back(std::move(node));
        addChildrenOf(child, nodes);
    }
}

// A container over the whole screen that takes the pointer: clicks stop there instead of reaching the board.
bool shieldsTheScreen(const PartialNode& node) {
    return node.kind == "container" && node.number("x") <= 0 && node.number("y") <= 0 &&
           node.number("w") >= 1024 && node.number("h") >= 768 && !node.is("hit_test", "0") &&
           !node.is("enabled", "0");
}

TEST(PopupFiles, EveryTutorialShieldsTheBoardExplainsAndCanBeClosed) {
    for (const char* name : kTutorials) {
        const auto popup =
            kt::XMLElement::fromFile((kRoot / kt::KTFormat("data/partials/tutorial/%s.xml", name)).string());
        ASSERT_TRUE(popup) << name;
        std::vector<PartialNode> nodes;
        addChildrenOf(*popup, nodes);
        const auto shield = std::ranges::find_if(nodes, shieldsTheScreen);
        const auto closer = std::ranges::find_if(nodes, [](const PartialNode& node) {
            return node.kind == "button" && node.is("on_click", "continue");
        });
        EXPECT_NE(shield, nodes.end()) << name << " lets clicks through to the board";
        ASSERT_NE(closer, nodes.end()) << name << " cannot be closed";
        EXPECT_LT(shield, closer) << name << ": the backdrop covers the button";
        EXPECT_TRUE(std::ranges::any_of(nodes,
                                        [](const PartialNode& node) {
                                            const std::string* text = node.attributes.find("text");
                                            return node.kind == "text" && text && text->size() > 40;
                                        }))
            << name << " explains nothing";
    }
}

}  // namespace
}  // namespace moonbrook
