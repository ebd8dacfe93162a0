#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

// The median of the figures of a benchmark's runs; NaN when there are none.
inline double BenchMedian(std::vector<double> AValues)
{
    if (AValues.empty())
        return NAN;
    std::sort(AValues.begin(), AValues.end());
    const size_t n = AValues.size();
    return n % 2 ? AValues[n / 2] : (AValues[n / 2 - 1] + AValues[n / 2]) / 2;
}
