#include "tests/support/DataFileTest.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/core/KTDirector.h"
#include "engine/core/KTResourceManager.h"

namespace kt::test {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

DataFileTest::DataFileTest() {
    KTResourceManager::shared().setBaseDataPath(dataRoot());
    KTDirector::shared().openLog();
}

std::string DataFileTest::dataRoot() const {
    return (userDataHome() / "content").string() + "/";
}

std::string DataFileTest::writeFile(const std::string& name, std::string_view content) const {
    const std::filesystem::path path = dataRoot() + name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

int DataFileTest::countInLog(std::string_view text) const {
    const std::string log = readFile(KTResourceManager::shared().getUserPath("log.txt"));
    int count = 0;
    for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size()))
        ++count;
    return count;
}

std::shared_ptr<KTNode> DataFileTest::readElement(const std::string& element) {
    const std::string name = "data/element" + std::to_string(++elementFiles_) + ".xml";
    writeFile(name, "<node>" + element + "</node>");
    const auto holder = KTNode::nodeFromFile(name);
    auto node = holder->firstChild();
    if (node) holder->removeChild(node.get());
    return node;
}

}  // namespace kt::test
