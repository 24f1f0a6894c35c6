#include "engine/core/KTLog.h"

namespace kt {

KTLogger& KTLogger::shared() {
    static KTLogger logger;
    return logger;
}

KTLogger::~KTLogger() {
    close();
}

bool KTLogger::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) return false;
    write(KTFormat("LOG FILENAME: %@", path));
    return true;
}

void KTLogger::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

void KTLogger::write(std::string_view line) {
    if (!file_) return;
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fputc('\n', file_);
    // Flushed line by line so that the log survives a crash.
    std::fflush(file_);
}

}  // namespace kt
