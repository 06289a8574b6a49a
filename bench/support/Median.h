#pragma once
// The median of a benchmark's measurements, and the median time of a step run
// many times: medians, because a single slow run (another process, the first
// touch of a cache) says nothing about the step.
#include <QElapsedTimer>

#include <algorithm>
#include <vector>

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    if (n == 0)
        return 0;
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

/// The median time of `runs` runs of run(), in milliseconds.
template <typename F> double medianMs(int runs, F &&run)
{
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(times);
}
