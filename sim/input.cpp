// SendInput-based mouse and keyboard input.
#include "input.h"

#include "pump.h"
#include "simulator.h"

namespace cfgsim {

namespace {
bool g_buttonHeld = false;

void Send(INPUT& in) { SendInput(1, &in, sizeof in); }

void Key(UINT vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(vk);
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_HOME || vk == VK_END ||
        vk == VK_PRIOR || vk == VK_NEXT || vk == VK_INSERT || vk == VK_DELETE)
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    Send(in);
}

void UnicodeKey(wchar_t c, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = c;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (down ? 0 : KEYEVENTF_KEYUP);
    Send(in);
}

// Holds the modifier keys down while it lives.
class HeldModifiers {
public:
    explicit HeldModifiers(Modifiers m) : m_(m) { Set(true); }
    ~HeldModifiers() { Set(false); }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    void Set(bool down) {
        if (!m_.shift && !m_.ctrl && !m_.alt) return;
        if (m_.shift) Key(VK_SHIFT, down);
        if (m_.ctrl) Key(VK_CONTROL, down);
        if (m_.alt) Key(VK_MENU, down);
        PumpInput();
    }
    Modifiers m_;
};

POINT ToScreen(HWND window, POINT p) {
    ClientToScreen(window, &p);
    return p;
}

// Moves the cursor to a screen point: absolute coordinates in 1/65536 of the screen,
// rounded up so that they land on the wanted pixel.
void MoveCursor(POINT screen) {
    const LONGLONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((screen.x * 65536LL + w - 1) / w);
    in.mi.dy = static_cast<LONG>((screen.y * 65536LL + h - 1) / h);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    POINT now;
    GetCursorPos(&now);
    if (now.x == screen.x && now.y == screen.y) return;
    Send(in);
    PumpInput();
}

void Button(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    Send(in);
    g_buttonHeld = down;
    PumpInput();
}
}  // namespace

void BringToFront() {
    HWND main = Simulator::Get().mainWindow;
    if (!main || GetForegroundWindow() == main) return;
    SetForegroundWindow(main);
    PumpInput();
}

void MousePress(HWND window, POINT client, Modifiers mods) {
    BringToFront();
    MoveCursor(ToScreen(window, client));
    HeldModifiers held(mods);
    Button(true);
}

void MouseMove(HWND window, POINT client) {
    BringToFront();
    MoveCursor(ToScreen(window, client));
}

void MouseRelease(HWND window, POINT client, Modifiers mods) {
    BringToFront();
    MoveCursor(ToScreen(window, client));
    HeldModifiers held(mods);
    Button(false);
}

void MouseClick(HWND window, POINT client, Modifiers mods) {
    BringToFront();
    MoveCursor(ToScreen(window, client));
    HeldModifiers held(mods);
    Button(true);
    Button(false);
}

void MouseWheel(HWND window, int notches) {
    BringToFront();
    RECT rc;
    GetClientRect(window, &rc);
    MoveCursor(ToScreen(window, POINT{rc.right / 2, rc.bottom / 2}));
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
    Send(in);
    PumpInput();
}

bool MouseButtonHeld() { return g_buttonHeld; }

void PressKey(UINT vk, Modifiers mods) {
    BringToFront();
    HeldModifiers held(mods);
    Key(vk, true);
    Key(vk, false);
    PumpInput();
}

void TypeText(const std::wstring& text) {
    BringToFront();
    for (wchar_t c : text) {
        if (c == L'\n' || c == L'\r') {
            PressKey(VK_RETURN, {});
            continue;
        }
        // A key of the layout when it gives the character with Shift at most.
        const SHORT scan = VkKeyScanW(c);
        const UINT vk = LOBYTE(scan);
        const BYTE state = HIBYTE(scan);
        if (scan != -1 && vk != 0 && (state & ~1) == 0) {
            PressKey(vk, Modifiers{(state & 1) != 0, false, false});
        } else {
            UnicodeKey(c, true);
            UnicodeKey(c, false);
            PumpInput();
        }
    }
}

void ReleaseHeldInput() {
    if (g_buttonHeld || GetAsyncKeyState(VK_LBUTTON) < 0) Button(false);
    for (UINT vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
        if (GetAsyncKeyState(static_cast<int>(vk)) < 0) Key(vk, false);
    PumpInput();
}

}  // namespace cfgsim
