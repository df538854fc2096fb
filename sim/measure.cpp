// Per-action timing with percentiles.
#include "measure.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <vector>

#include "editor_window.h"
#include "pump.h"
#include "screenshot.h"
#include "simulator.h"

namespace cfgsim {

namespace {
long TotalCalls() {
    long n = 0;
    for (const auto& c : Simulator::Get().calls) n += c.second;
    return n;
}

// Processor time this thread has used, in milliseconds: unlike the elapsed time it does not
// grow when other programs compete for the processor (the system counts it in ticks, so only
// sums over many actions mean something).
double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& f) {
        return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}
}  // namespace

namespace {
Measurement Summary(std::vector<double> times, long calls, double cpuMs) {
    Measurement m;
    std::sort(times.begin(), times.end());
    const size_t count = times.size();
    m.actions = static_cast<int>(count);
    m.medianMs = count % 2 ? times[count / 2] : (times[count / 2 - 1] + times[count / 2]) / 2;
    m.p99Ms = times[static_cast<size_t>(std::ceil(0.99 * static_cast<double>(count))) - 1];
    m.hostCalls = static_cast<double>(calls) / static_cast<double>(count);
    m.cpuMs = cpuMs / static_cast<double>(count);
    return m;
}
}  // namespace

Measurement MeasureWhole(int n, const std::function<void()>& action) {
    if (n <= 0) return {};
    std::vector<double> times;
    Pump();
    const long callsBefore = TotalCalls();
    const double cpuBefore = ThreadCpuMs();
    LARGE_INTEGER freq, a, b;
    QueryPerformanceFrequency(&freq);
    for (int i = 0; i < n; ++i) {
        QueryPerformanceCounter(&a);
        action();
        Pump();
        QueryPerformanceCounter(&b);
        times.push_back(1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart));
    }
    return Summary(std::move(times), TotalCalls() - callsBefore, ThreadCpuMs() - cpuBefore);
}

namespace {
long Differing(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return static_cast<long>(b.width) * b.height;
    long n = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) n += a.At(x, y) != b.At(x, y);
    return n;
}

long Median(std::vector<long> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
}  // namespace

Measurement Measure(HWND editor, int n, const std::function<void()>& action) {
    if (n <= 0) return {};
    std::vector<double> times;
    std::vector<long> painted, changed;
    times.reserve(static_cast<size_t>(n));
    Pump();
    long calls = 0;
    double cpu = 0;
    Image before = CaptureClient(editor);
    {
        DispatchTimer timer(editor);
        for (int i = 0; i < n; ++i) {
            ResetEditorPaints(editor);
            const long callsBefore = TotalCalls();
            const double cpuBefore = ThreadCpuMs();
            timer.Reset();
            action();
            Pump();
            times.push_back(timer.Milliseconds());
            // The captures below are not the action's: its processor time is summed per action.
            cpu += ThreadCpuMs() - cpuBefore;
            calls += TotalCalls() - callsBefore;
            painted.push_back(GetEditorStats(editor).paintedArea);
            Image after = CaptureClient(editor);
            changed.push_back(Differing(before, after));
            before = std::move(after);
        }
    }
    Measurement m = Summary(std::move(times), calls, cpu);
    m.areas = true;
    m.paintedPx = Median(std::move(painted));
    m.changedPx = Median(std::move(changed));
    return m;
}

std::wstring FormatMeasurement(const std::wstring& what, const Measurement& m) {
    wchar_t text[160];
    swprintf(text, 160, L": median %.3f ms p99 %.3f ms, cpu %.3f ms, host calls %.1f", m.medianMs, m.p99Ms, m.cpuMs,
             m.hostCalls);
    std::wstring line = L"measure " + what + text;
    if (m.areas) {
        swprintf(text, 160, L", painted %ld px, changed %ld px", m.paintedPx, m.changedPx);
        line += text;
    }
    return line;
}

}  // namespace cfgsim
