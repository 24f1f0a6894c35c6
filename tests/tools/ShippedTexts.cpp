#include "tests/tools/ShippedTexts.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

#include "engine/core/KTTextValues.h"
#include "engine/render/KTText.h"

namespace moonbrook::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDesignerScenes[] = {"data/scenes/editor.sg.xml", "data/scenes/editor_key.xml"};
constexpr const char* kProgramFolders[] = {"app", "engine", "game"};

bool isDesignerScene(const std::string& name) {
    return std::ranges::find(kDesignerScenes, name) != std::end(kDesignerScenes);
}

bool hasLetter(std::string_view text) {
    return std::ranges::any_of(text, [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

void addElementTexts(const kt::XMLElement& element, const std::string& origin, std::vector<ShippedText>& texts) {
    if (const std::string* text = element.attribute("text"); text && hasLetter(*text))
        texts.push_back({origin, std::string(kt::KTTrimmed(*text)), element.attributes()});
    for (const kt::XMLElement& child : element.children())
        addElementTexts(child, origin, texts);
}

void addSceneTexts(const fs::path& contentRoot, std::vector<ShippedText>& texts) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(contentRoot / "data")) {
        const std::string name = entry.path().lexically_relative(contentRoot).generic_string();
        if (name.ends_with(".xml") && !isDesignerScene(name)) names.push_back(name);
    }
    std::ranges::sort(names);
    for (const std::string& name : names) {
        if (const auto root = kt::XMLElement::fromFile((contentRoot / name).string()))
            addElementTexts(*root, name, texts);
    }
}

// String literals handed to the localising calls; the code keeps its player texts in such calls.
void addCodeTexts(const fs::path& sourceRoot, std::vector<ShippedText>& texts) {
    static const std::regex localised(R"re(KTLocalize(?:Format)?\(\s*"((?:[^"\\]|\\.)*)")re");
    for (const char* folder : kProgramFolders) {
        for (const auto& entry : fs::recursive_directory_iterator(sourceRoot / folder)) {
            const fs::path& path = entry.path();
            if (path.extension() != ".cpp" && path.extension() != ".h") continue;
            std::ifstream file(path);
            std::stringstream source;
            source << file.rdbuf();
            const std::string code = source.str();
            for (auto match = std::sregex_iterator(code.begin(), code.end(), localised);
                 match != std::sregex_iterator(); ++match) {
                texts.push_back({path.lexically_relative(sourceRoot).generic_string(), (*match)[1].str(), {}});
            }
        }
    }
}

}  // namespace

std::string ShippedText::font() const {
    if (fromCode()) return {};
    const std::string* font = attributes.find("font");
    return font ? *font : kt::KTText::kDefaultFont;
}

std::vector<ShippedText> shippedTexts(const fs::path& contentRoot, const fs::path& sourceRoot) {
    std::vector<ShippedText> texts;
    addSceneTexts(contentRoot, texts);
    addCodeTexts(sourceRoot, texts);
    return texts;
}

std::vector<std::string> placeholders(std::string_view text) {
    static const std::regex placeholder("%[-+0-9.]*[@a-zA-Z%]");
    std::vector<std::string> found;
    const std::string copy(text);
    for (auto match = std::sregex_iterator(copy.begin(), copy.end(), placeholder); match != std::sregex_iterator();
         ++match)
        found.push_back(match->str());
    return found;
}

}  // namespace moonbrook::test
