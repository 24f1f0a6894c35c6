#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "engine/core/KTFormat.h"

namespace kt {

// The program's one log: plain UTF-8 lines in a file that is truncated when it is opened.
class KTLogger {
public:
    static KTLogger& shared();

    ~KTLogger();

    // Truncates the file and starts the log with its own name; false when the file cannot be written.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    void write(std::string_view line);

private:
    std::FILE* file_ = nullptr;
};

template <typename... Args>
void KTLog(std::string_view format, const Args&... args) {
    KTLogger& logger = KTLogger::shared();
    if (logger.isOpen()) logger.write(KTFormat(format, args...));
}

}  // namespace kt
