// The simulator's message pump: dispatches what is queued and lets pending paints happen,
// optionally timing what one window's procedure spends on its messages.
#pragma once

#include <windows.h>

namespace cfgsim {

// Processes the pending window messages, so that paints and posted messages happen. A
// window that paints again and again (its paint invalidates it anew) is given up on after
// a few hundred paints; RestlessWindow then names it.
void Pump();

// The window that kept repainting during a Pump since the last call (null: none).
HWND TakeRestlessWindow();

// Pumps, then keeps pumping while messages still arrive within a few milliseconds (input
// that the system delivers a little later, such as the moves of a warped cursor).
void PumpInput();

// While it lives, the time that Pump spends dispatching messages to the window (its
// procedure, whoever subclassed it, and its paints) is added up.
class DispatchTimer {
public:
    explicit DispatchTimer(HWND window);
    ~DispatchTimer();
    DispatchTimer(const DispatchTimer&) = delete;
    DispatchTimer& operator=(const DispatchTimer&) = delete;

    // Milliseconds spent since the timer started or was last reset.
    double Milliseconds() const;
    void Reset();
};

}  // namespace cfgsim
