#include "tests/app/ProgramOutput.h"

namespace moonbrook::test {

const nlohmann::json* findNode(const nlohmann::json& node, const std::string& name) {
    if (node["name"] == name) return &node;
    for (const nlohmann::json& child : node["children"]) {
        if (const nlohmann::json* found = findNode(child, name)) return found;
    }
    return nullptr;
}

bool showsText(const nlohmann::json& node, const std::string& text) {
    if (node.contains("text") && node["text"] == text) return true;
    for (const nlohmann::json& child : node["children"]) {
        if (showsText(child, text)) return true;
    }
    return false;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::optional<int> ProgramRunTest::run(const std::vector<std::string>& arguments,
                                       const GameProcess::Environment& environment) {
    GameProcess game(folder_.path(), arguments, environment);
    const std::optional<int> exitCode = game.waitForExit(timeout_);
    errorOutput_ = game.errorOutput();
    return exitCode;
}

std::optional<int> ProgramRunTest::runScript(const std::string& script,
                                             const std::vector<std::string>& arguments,
                                             const GameProcess::Environment& environment) {
    folder_.write("script.txt", script);
    std::vector<std::string> all = {"--headless", "--fixed-dt", "0.0166",    "--seed",
                                    "5",          "--script",   "script.txt"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return run(all, environment);
}

nlohmann::json ProgramRunTest::dumped(const std::string& name) const {
    return nlohmann::json::parse(folder_.read(name));
}

nlohmann::json ProgramRunTest::node(const nlohmann::json& scene, const std::string& name) {
    const nlohmann::json* found = findNode(scene["tree"], name);
    return found ? *found : nlohmann::json();
}

nlohmann::json ProgramRunTest::childOf(const nlohmann::json& scene, const std::string& parent,
                                       const std::string& name) {
    const nlohmann::json* outer = findNode(scene["tree"], parent);
    const nlohmann::json* found = outer ? findNode(*outer, name) : nullptr;
    return found ? *found : nlohmann::json();
}

void ProgramRunTest::writeProfiles(const std::vector<std::pair<std::string, std::string>>& profiles,
                                   const std::string& selected) const {
    std::string users;
    for (const auto& [name, entries] : profiles)
        users += "<dict><key>name</key><string>" + name + "</string>" + entries + "</dict>";
    std::filesystem::create_directories(folder_.path() / "data-home/Moonbrook");
    folder_.write(
        "data-home/Moonbrook/users.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>users</key><array>" +
            users + "</array><key>selected_user_name</key><string>" + selected +
            "</string></dict></plist>\n");
}

}  // namespace moonbrook::test
