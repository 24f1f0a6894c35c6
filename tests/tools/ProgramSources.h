#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

#include "tests/support/DataFileTest.h"

namespace kt::test {

// Hands the visitor the name (relative to the source tree) and the text of every C++ source and header below
// the named folders of the program's source tree.
template <typename Visitor>
void forEachProgramSource(std::initializer_list<const char*> folders, Visitor visit) {
    const std::filesystem::path root = MOONBROOK_SOURCE_ROOT;
    for (const char* folder : folders) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            const std::filesystem::path& path = entry.path();
            if (path.extension() != ".cpp" && path.extension() != ".h") continue;
            visit(path.lexically_relative(root).generic_string(), readFile(path));
        }
    }
}

}  // namespace kt::test
