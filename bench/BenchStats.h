#pragma once

#include <algorithm>
#include <vector>

// Medians, not means: one slow run while the machine does something else must not move the figure.
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}
