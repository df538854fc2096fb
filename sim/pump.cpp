// Message pumping with optional timing of one window's message handling.
#include "pump.h"

#include "simulator.h"

namespace cfgsim {

namespace {
HWND g_timed = nullptr;
LONGLONG g_ticks = 0;
HWND g_restless = nullptr;
// Paints of one window within one round of Pump beyond which it counts as never idle.
constexpr int kRestlessPaints = 200;

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

void Dispatch(const MSG& msg) {
    if (!g_timed || msg.hwnd != g_timed) {
        DispatchMessageW(&msg);
        return;
    }
    const LONGLONG start = Now();
    DispatchMessageW(&msg);
    g_ticks += Now() - start;
}

// Paints the timed window now, if it has anything to paint, and times it.
void PaintTimed() {
    if (!g_timed || !IsWindow(g_timed) || !GetUpdateRect(g_timed, nullptr, FALSE)) return;
    const LONGLONG start = Now();
    UpdateWindow(g_timed);
    g_ticks += Now() - start;
}
}  // namespace

void Pump() {
    for (int round = 0; round < 3; ++round) {
        MSG msg;
        HWND painting = nullptr;
        int paints = 0;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (msg.message == WM_PAINT) {
                paints = msg.hwnd == painting ? paints + 1 : 1;
                painting = msg.hwnd;
                if (paints > kRestlessPaints) {
                    g_restless = msg.hwnd;
                    ValidateRect(msg.hwnd, nullptr);
                    return;
                }
            }
            TranslateMessage(&msg);
            Dispatch(msg);
        }
        PaintTimed();
        if (Simulator::Get().mainWindow)
            RedrawWindow(Simulator::Get().mainWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

HWND TakeRestlessWindow() {
    HWND w = g_restless;
    g_restless = nullptr;
    return w;
}

void PumpInput() {
    Pump();
    for (int i = 0; i < 50; ++i) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 3, QS_ALLINPUT) != WAIT_OBJECT_0) break;
        Pump();
    }
}

DispatchTimer::DispatchTimer(HWND window) {
    g_timed = window;
    g_ticks = 0;
}

DispatchTimer::~DispatchTimer() { g_timed = nullptr; }

double DispatchTimer::Milliseconds() const {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(g_ticks) * 1000.0 / static_cast<double>(f.QuadPart);
}

void DispatchTimer::Reset() { g_ticks = 0; }

}  // namespace cfgsim
