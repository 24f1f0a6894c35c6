// Kills a process that keeps saving player profiles at random moments and checks after every kill that
// "users.xml" is whole: it parses, and all of it comes from one save, no older than the save seen before.
//
//   profile_durability FOLDER [KILLS]      run the test (200 kills by default); exit code 0 when it holds
//   profile_durability --writer FOLDER     save forever (started by the test)
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "engine/core/KTPlist.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/services/KTUserManager.h"

namespace {

constexpr int kProfiles = 3;

// Every profile of one save carries the save's number and a blob whose length follows from it, so a file
// mixing two saves, or cut short, is told apart from a whole one.
std::string blobFor(std::int64_t generation) {
    return std::string(100 + generation % 5000, 'x');
}

[[noreturn]] void writeForever() {
    auto& users = kt::KTUserManager::sharedManager();
    while (users.count() < kProfiles)
        users.add("player " + std::to_string(users.count()));
    std::int64_t generation = users.users().front()->tokens();
    for (;;) {
        ++generation;
        for (const auto& user : users.users()) {
            user->setObject(static_cast<int>(generation), "tokens");
            user->setObject(blobFor(generation), "blob");
        }
        users.save();
    }
}

// The save number the file holds, or none when it is not one whole save.
std::optional<std::int64_t> wholeSave(const std::string& path) {
    const auto root = kt::KTPlist::readFile(path);
    if (!root) return std::nullopt;
    const kt::KTPlist& profiles = (*root)["users"];
    if (profiles.size() != kProfiles) return std::nullopt;
    const std::int64_t generation = profiles.at(0)["tokens"].intValue();
    for (const kt::KTPlist& profile : profiles.arrayValue()) {
        if (profile["tokens"].intValue() != generation ||
            profile["blob"].stringValue() != blobFor(generation)) {
            return std::nullopt;
        }
    }
    return generation;
}

int runKills(const std::string& program, const std::string& folder, int kills) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    const std::string path = kt::KTResourceManager::shared().getUserPath("users.xml");
    kt::KTRandom::shared().seed(static_cast<std::uint32_t>(std::time(nullptr)));
    std::int64_t seen = 0;
    int failures = 0;
    for (int run = 1; run <= kills; ++run) {
        const pid_t writer = fork();
        if (writer == 0) {
            execl(program.c_str(), program.c_str(), "--writer", folder.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        usleep(static_cast<useconds_t>(kt::randi(2, 60) * 1000));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        const auto generation =
            std::filesystem::exists(path) ? wholeSave(path) : std::optional<std::int64_t>(0);
        if (!generation || *generation < seen) {
            ++failures;
            std::cout << "kill " << run << ": users.xml is not one whole save at least as new as the last\n";
            continue;
        }
        seen = *generation;
    }
    std::cout << kills << " kills, " << failures << " damaged or older files, last save " << seen << '\n';
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--writer") {
        setenv("XDG_DATA_HOME", argv[2], 1);
        writeForever();
    }
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: profile_durability FOLDER [KILLS]\n";
        return 2;
    }
    const std::string program = std::filesystem::canonical("/proc/self/exe").string();
    return runKills(program, argv[1], argc == 3 ? std::atoi(argv[2]) : 200);
}
