#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace moonbrook::soak {

// The process's resident memory in kilobytes (from /proc/self/statm); none where that cannot be read.
std::optional<std::int64_t> residentKilobytes();

// The resident memory of a long run, sampled now and then, and how fast it grows once the run is warm.
class MemoryCurve {
public:
    struct Sample {
        double seconds = 0;
        std::uint64_t frames = 0;
        int levels = 0;
        std::int64_t kilobytes = 0;
    };

    void add(const Sample& sample) { samples_.push_back(sample); }
    // The samples from here on are the warm part of the run, which the growth is judged on.
    void markWarm() { warmFrom_ = warmFrom_.value_or(samples_.size()); }

    const std::vector<Sample>& samples() const { return samples_; }
    // The least-squares slope of the warm samples in kilobytes per ten minutes; none with fewer than two.
    std::optional<double> warmGrowthPerTenMinutes() const;
    // The first warm sample, if any.
    std::optional<Sample> warmStart() const;

    // The samples as CSV: this header, then one line per sample (seconds, frames, levels, kilobytes).
    static constexpr const char* kCsvHeader = "seconds,frames,levels,resident_kb\n";
    static std::string csvLine(const Sample& sample);
    // About `points` samples evenly spread over the run, as "minutes: MB" pairs.
    std::string outline(std::size_t points) const;

private:
    std::vector<Sample> samples_;
    std::optional<std::size_t> warmFrom_;
};

}  // namespace moonbrook::soak
