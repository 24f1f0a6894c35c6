#include "tools/soak/MemoryCurve.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "engine/core/KTFormat.h"

namespace moonbrook::soak {

namespace {

constexpr double kTenMinutes = 600;
constexpr double kKilobytesPerMegabyte = 1024;

}  // namespace

std::optional<std::int64_t> residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0;
    std::int64_t residentPages = 0;
    if (!(statm >> size >> residentPages)) return std::nullopt;
    return residentPages * (sysconf(_SC_PAGESIZE) / 1024);
}

std::optional<double> MemoryCurve::warmGrowthPerTenMinutes() const {
    if (!warmFrom_ || samples_.size() < *warmFrom_ + 2) return std::nullopt;
    const std::vector<Sample> warm(samples_.begin() + static_cast<std::ptrdiff_t>(*warmFrom_),
                                   samples_.end());
    double meanTime = 0;
    double meanMemory = 0;
    for (const Sample& sample : warm) {
        meanTime += sample.seconds;
        meanMemory += static_cast<double>(sample.kilobytes);
    }
    meanTime /= static_cast<double>(warm.size());
    meanMemory /= static_cast<double>(warm.size());
    double covariance = 0;
    double variance = 0;
    for (const Sample& sample : warm) {
        covariance += (sample.seconds - meanTime) * (static_cast<double>(sample.kilobytes) - meanMemory);
        variance += (sample.seconds - meanTime) * (sample.seconds - meanTime);
    }
    if (variance <= 0) return std::nullopt;
    return covariance / variance * kTenMinutes;
}

std::optional<MemoryCurve::Sample> MemoryCurve::warmStart() const {
    if (!warmFrom_ || *warmFrom_ >= samples_.size()) return std::nullopt;
    return samples_[*warmFrom_];
}

std::string MemoryCurve::csvLine(const Sample& sample) {
    return kt::KTFormat("%.1f,%u,%i,%i\n", sample.seconds, sample.frames, sample.levels, sample.kilobytes);
}

std::string MemoryCurve::outline(std::size_t points) const {
    std::string text;
    const std::size_t count = std::min(points, samples_.size());
    for (std::size_t k = 0; k < count; ++k) {
        // The first and the last sample, and evenly spaced ones between.
        const std::size_t i = count == 1 ? samples_.size() - 1 : k * (samples_.size() - 1) / (count - 1);
        const Sample& sample = samples_[i];
        text += kt::KTFormat("%@%.1f: %.1f", k == 0 ? "" : ", ", sample.seconds / 60,
                             static_cast<double>(sample.kilobytes) / kKilobytesPerMegabyte);
    }
    return text;
}

}  // namespace moonbrook::soak
