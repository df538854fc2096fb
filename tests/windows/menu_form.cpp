// The test form of the flat-style menus.
#include "menu_form.h"

#include "pixels.h"

namespace tintmark::test {

namespace {
const wchar_t kFormClass[] = L"TintmarkTestMenuForm";
std::function<bool(int)> g_step;
int g_tick = 0;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (!g_step || !g_step(g_tick++)) {
        KillTimer(nullptr, id);
        g_step = nullptr;
        EndMenu();
    }
}

WNDPROC g_buttonProc = nullptr, g_comboProc = nullptr;
LRESULT CALLBACK ButtonProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return CallWindowProcW(g_buttonProc, w, m, wp, lp); }
LRESULT CALLBACK ComboProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return CallWindowProcW(g_comboProc, w, m, wp, lp); }
}  // namespace

HBITMAP MakePicture(COLORREF square) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, 16, 16}, inner{2, 2, 14, 14};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255)), fill = CreateSolidBrush(square);
    FillRect(dc, &all, magenta);
    FillRect(dc, &inner, fill);
    HPEN blue = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    HGDIOBJ oldPen = SelectObject(dc, blue);
    MoveToEx(dc, 2, 2, nullptr);
    LineTo(dc, 14, 14);
    SelectObject(dc, oldPen);
    DeleteObject(blue);
    DeleteObject(magenta);
    DeleteObject(fill);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bmp;
}

MenuForm::MenuForm(int x, int y, bool withMenus) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kFormClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    Window = CreateWindowExW(0, kFormClass, L"menu form", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, x, y, 420,
                             320, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Model = std::make_unique<menus::TForm>(Window);
    if (!withMenus) return;
    Images = std::make_unique<menus::ImageList>(16, 16);
    Pictures[0] = MakePicture(RGB(220, 0, 0));
    Pictures[1] = MakePicture(RGB(0, 160, 0));
    Images->Add(Pictures[0]);
    Images->Add(Pictures[1]);

    Main = std::make_unique<menus::TMenu>(*Model, menus::TMenu::Kind::Main);
    Main->Images = Images.get();
    File = &Main->Items.Add(L"&File");
    Open = &File->Add(L"&Open...", L"Ctrl+O");
    Open->ImageIndex = 0;
    Wrap = &File->Add(L"Word wrap");
    Wrap->Checked = true;
    Mode = &File->Add(L"Insert mode");
    Mode->RadioItem = true;
    Mode->Checked = true;
    Disabled = &File->Add(L"Print");
    Disabled->Enabled = false;
    Disabled->ImageIndex = 1;
    Save = &File->Add(L"Save", L"Ctrl+S");
    Save->Default = true;
    Separator = &File->Add(L"-");
    Recent = &File->Add(L"Recent");
    Recent->Add(L"first.txt");
    Recent->Add(L"second.txt");
    Own = &File->Add(L"Own drawing");
    Own->Tag = 999;
    Exit = &File->Add(L"Exit");
    Main->Items.Add(L"&Edit").Add(L"Copy", L"Ctrl+C");
    Main->Items.Add(L"&View").Add(L"Status bar");
    Main->Handle();

    Popup = std::make_unique<menus::TMenu>(*Model, menus::TMenu::Kind::Popup);
    Popup->Images = Images.get();
    Popup->Items.Add(L"Cut", L"Ctrl+X").ImageIndex = 0;
    Popup->Items.Add(L"Checked").Checked = true;
    Popup->Items.Add(L"-");
    Popup->Items.Add(L"Disabled").Enabled = false;
    Popup->Handle();
    DrawMenuBar(Window);
}

MenuForm::~MenuForm() {
    Popup.reset();
    Main.reset();
    Model.reset();
    DestroyWindow(Window);
    for (HBITMAP b : Pictures)
        if (b) DeleteObject(b);
}

void RegisterFrameworkControlClasses() {
    WNDCLASSW wc{};
    if (GetClassInfoW(GetModuleHandleW(nullptr), L"TButton", &wc)) return;
    GetClassInfoW(nullptr, L"BUTTON", &wc);
    g_buttonProc = wc.lpfnWndProc;
    wc.lpfnWndProc = ButtonProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TButton";
    RegisterClassW(&wc);
    GetClassInfoW(nullptr, L"COMBOBOX", &wc);
    g_comboProc = wc.lpfnWndProc;
    wc.lpfnWndProc = ComboProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TDBLookupComboBox";
    RegisterClassW(&wc);
}

void WhilePopupOpen(menus::TMenu& menu, int x, int y, std::function<bool(int)> step) {
    g_step = std::move(step);
    g_tick = 0;
    SetForegroundWindow(menu.Owner.Handle());
    SetTimer(nullptr, 0, 120, StepTimer);
    menu.Popup(x, y);
    g_step = nullptr;
    Pump(100);
}

void WhilePopupOpen(HMENU menu, HWND owner, int x, int y, std::function<bool(int)> step) {
    g_step = std::move(step);
    g_tick = 0;
    SetForegroundWindow(owner);
    SetTimer(nullptr, 0, 120, StepTimer);
    TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_LEFTALIGN, x, y, owner, nullptr);
    g_step = nullptr;
    Pump(100);
}

void PressKey(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

}  // namespace tintmark::test
