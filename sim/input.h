// Real input as a person gives it: mouse and keyboard events through the system's input
// queue (SendInput), so that window procedures see them with the button and modifier state
// that GetKeyState, GetAsyncKeyState, GetCursorPos and GetMessagePos report.
#pragma once

#include <windows.h>

#include <string>

namespace cfgsim {

struct Modifiers {
    bool shift = false, ctrl = false, alt = false;
};

// Makes the main window the foreground window, so that input reaches it.
void BringToFront();

// Mouse, at client coordinates of window. Press and release hold the modifier keys down
// for their own action only; a click holds them for both.
void MousePress(HWND window, POINT client, Modifiers mods);
void MouseMove(HWND window, POINT client);
void MouseRelease(HWND window, POINT client, Modifiers mods);
void MouseClick(HWND window, POINT client, Modifiers mods);
// Turns the wheel by notches (positive: away from the user) over the window.
void MouseWheel(HWND window, int notches);
bool MouseButtonHeld();

// A key pressed and released with the modifiers held, to the window with the focus.
void PressKey(UINT vk, Modifiers mods);
// Types the characters as key presses (those the keyboard layout lacks as Unicode packets).
void TypeText(const std::wstring& text);

// Releases the mouse button and the modifier keys when they are held, whoever left them so
// (input state outlives a process while the window system runs).
void ReleaseHeldInput();

}  // namespace cfgsim
