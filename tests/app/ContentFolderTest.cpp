#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/ContentFolder.h"

namespace moonbrook {
namespace {

namespace fs = std::filesystem;

class ContentFolderTest : public ::testing::Test {
protected:
    ContentFolderTest() {
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~ContentFolderTest() override { fs::remove_all(root_); }

    fs::path program(const fs::path& folder) const {
        fs::create_directories(root_ / folder);
        std::ofstream(root_ / folder / "moonbrook") << "";
        return root_ / folder / "moonbrook";
    }

    const fs::path root_ = fs::weakly_canonical(fs::temp_directory_path()) /
                           ("moonbrook-content-folder-" + std::to_string(getpid()));
};

TEST_F(ContentFolderTest, InstalledProgramReadsTheContentBesideIt) {
    fs::create_directories(root_ / "usr/share/moonbrook/data");
    const fs::path installed = program("usr/bin");
    EXPECT_EQ(contentBasePath(installed, "../share/moonbrook"), (root_ / "usr/share/moonbrook/").string());
    // Reached through a folder link, the content is still the one of the prefix the program lies in.
    fs::create_directory_symlink(root_ / "usr/bin", root_ / "bin");
    EXPECT_EQ(contentBasePath(root_ / "bin/moonbrook", "../share/moonbrook"),
              (root_ / "usr/share/moonbrook/").string());
}

TEST_F(ContentFolderTest, ElsewhereTheWorkingFolderHoldsTheContent) {
    // A build tree, with its content beside the program: the working folder decides, as in development.
    fs::create_directories(root_ / "build/data");
    EXPECT_EQ(contentBasePath(program("build"), "../share/moonbrook"), "");
    // An installed content folder without its data tree is no content.
    fs::create_directories(root_ / "opt/share/moonbrook");
    EXPECT_EQ(contentBasePath(program("opt/bin"), "../share/moonbrook"), "");
    EXPECT_EQ(contentBasePath({}, "../share/moonbrook"), "");
}

}  // namespace
}  // namespace moonbrook
