#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "tests/support/EngineTest.h"

namespace kt::test {

// The file's bytes; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

// Fixture for tests that read content: the data folder lies in the test's temporary folder and the log is
// open.
class DataFileTest : public EngineTest {
protected:
    DataFileTest();

    // The data folder, ending in "/", which resource names are relative to.
    std::string dataRoot() const;
    // Writes a file below the data folder, making folders as needed; answers its full path.
    std::string writeFile(const std::string& name, std::string_view content) const;
    int countInLog(std::string_view text) const;

    // The node that a scene file holding only the element makes of it, taken from its holder; none when it is
    // not a T.
    template <typename T = KTNode>
    std::shared_ptr<T> nodeFromElement(const std::string& element) {
        return std::dynamic_pointer_cast<T>(readElement(element));
    }

private:
    std::shared_ptr<KTNode> readElement(const std::string& element);

    int elementFiles_ = 0;
};

}  // namespace kt::test
