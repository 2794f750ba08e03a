#pragma once

// Small helpers shared by the benchmarks.

#include <algorithm>
#include <vector>

// The median of a list of samples (the mean of the middle two for an even
// count); 0 for none.
inline double median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t mid = samples.size() / 2;
    return samples.size() % 2 != 0 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2.0;
}
