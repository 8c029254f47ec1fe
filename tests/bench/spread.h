#pragma once

#include <algorithm>
#include <vector>

// Median, minimum and maximum of a benchmark's times.
struct Spread
{
    double median = 0;
    double min = 0;
    double max = 0;
};

inline Spread spreadOf(std::vector<double> values)
{
    Spread spread;
    if (values.empty())
        return spread;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    spread.median = values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
    spread.min = values.front();
    spread.max = values.back();
    return spread;
}
