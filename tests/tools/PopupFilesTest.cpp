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

// The nodes of a partial in drawing order, with the files named by "content" opened where they are named. The
// partial's own root is left out: its attributes go to the node the game loads the partial into.
class FlatPartial {
public:
    explicit FlatPartial(const fs::path& file) {
        const auto root = open(file);
        loaded_ = root != nullptr;
        if (root) addChildrenOf(*root);
    }

    bool loaded() const { return loaded_; }
    const std::vector<PartialNode>& nodes() const { return nodes_; }

private:
    std::shared_ptr<const kt::XMLElement> open(const fs::path& file) {
        return files_.emplace_back(kt::XMLElement::fromFile(file.string()));
    }
    std::shared_ptr<const kt::XMLElement> contentOf(const kt::XMLElement& element) {
        const std::string* content = element.attribute("content");
        return content ? open(kRoot / *content) : nullptr;
    }
    void addChildrenOf(const kt::XMLElement& element) {
        if (const auto included = contentOf(element)) addChildrenOf(*included);
        for (const kt::XMLElement& child : element.children())
            add(child);
    }
    void add(const kt::XMLElement& element) {
        const auto included = contentOf(element);
        PartialNode node{element.name(), included ? included->attributes() : kt::XMLAttributes()};
        for (const auto& [name, value] : element.attributes())
            node.attributes.set(name, value);
        nodes_.push_back(std::move(node));
        if (included) addChildrenOf(*included);
        for (const kt::XMLElement& child : element.children())
            add(child);
    }

    bool loaded_ = false;
    std::vector<std::shared_ptr<const kt::XMLElement>> files_;
    std::vector<PartialNode> nodes_;
};

// A container over the whole screen that takes the pointer: clicks stop there instead of reaching the board.
bool shieldsTheScreen(const PartialNode& node) {
    return node.kind == "container" && node.number("x") <= 0 && node.number("y") <= 0 &&
           node.number("w") >= 1024 && node.number("h") >= 768 && !node.is("hit_test", "0") &&
           !node.is("enabled", "0");
}

TEST(PopupFiles, EveryTutorialShieldsTheBoardExplainsAndCanBeClosed) {
    for (const char* name : kTutorials) {
        const FlatPartial popup(kRoot / kt::KTFormat("data/partials/tutorial/%s.xml", name));
        ASSERT_TRUE(popup.loaded()) << name;
        const auto& nodes = popup.nodes();
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
