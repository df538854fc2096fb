// Per-action timing with percentiles.
#include "measure.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <vector>

#include "pump.h"
#include "simulator.h"

namespace cfgsim {

namespace {
long TotalCalls() {
    long n = 0;
    for (const auto& c : Simulator::Get().calls) n += c.second;
    return n;
}
}  // namespace

namespace {
Measurement Summary(std::vector<double> times, long calls) {
    Measurement m;
    std::sort(times.begin(), times.end());
    const size_t count = times.size();
    m.actions = static_cast<int>(count);
    m.medianMs = count % 2 ? times[count / 2] : (times[count / 2 - 1] + times[count / 2]) / 2;
    m.p99Ms = times[static_cast<size_t>(std::ceil(0.99 * static_cast<double>(count))) - 1];
    m.hostCalls = static_cast<double>(calls) / static_cast<double>(count);
    return m;
}
}  // namespace

Measurement MeasureWhole(int n, const std::function<void()>& action) {
    if (n <= 0) return {};
    std::vector<double> times;
    Pump();
    const long callsBefore = TotalCalls();
    LARGE_INTEGER freq, a, b;
    QueryPerformanceFrequency(&freq);
    for (int i = 0; i < n; ++i) {
        QueryPerformanceCounter(&a);
        action();
        Pump();
        QueryPerformanceCounter(&b);
        times.push_back(1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart));
    }
    return Summary(std::move(times), TotalCalls() - callsBefore);
}

Measurement Measure(HWND editor, int n, const std::function<void()>& action) {
    Measurement m;
    if (n <= 0) return m;
    std::vector<double> times;
    times.reserve(static_cast<size_t>(n));
    Pump();
    const long callsBefore = TotalCalls();
    {
        DispatchTimer timer(editor);
        for (int i = 0; i < n; ++i) {
            timer.Reset();
            action();
            Pump();
            times.push_back(timer.Milliseconds());
        }
    }
    std::sort(times.begin(), times.end());
    const size_t count = times.size();
    m.actions = n;
    m.medianMs = count % 2 ? times[count / 2] : (times[count / 2 - 1] + times[count / 2]) / 2;
    m.p99Ms = times[static_cast<size_t>(std::ceil(0.99 * static_cast<double>(count))) - 1];
    m.hostCalls = static_cast<double>(TotalCalls() - callsBefore) / n;
    return m;
}

std::wstring FormatMeasurement(const std::wstring& what, const Measurement& m) {
    wchar_t text[160];
    swprintf(text, 160, L": median %.3f ms p99 %.3f ms, host calls %.1f", m.medianMs, m.p99Ms, m.hostCalls);
    return L"measure " + what + text;
}

}  // namespace cfgsim
