// Frame, configuration window and document windows of the simulated configurator.
#include "frame.h"

#include "editor_window.h"

namespace cfgsim {

namespace {
const wchar_t kFrameClass[] = L"CfgSimFrame";
const wchar_t kChildClass[] = L"CfgSimChild";
const wchar_t kPagesClass[] = L"CfgSimPages";
const wchar_t kMfcFrameClass[] = L"AfxMDIFrame42";
HHOOK g_cbtHook = nullptr;

// Children fill their parent.
void FillParent(HWND wnd) {
    RECT rc;
    GetClientRect(wnd, &rc);
    if (HWND child = GetWindow(wnd, GW_CHILD))
        MoveWindow(child, 0, 0, rc.right, rc.bottom, TRUE);
}

LRESULT CALLBACK ContainerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE) FillParent(wnd);
    if (msg == WM_SETFOCUS)
        if (HWND child = GetWindow(wnd, GW_CHILD)) SetFocus(child);
    return DefWindowProcW(wnd, msg, wp, lp);
}

LRESULT CALLBACK ChildProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    Simulator& sim = Simulator::Get();
    switch (msg) {
        case WM_SETFOCUS: {
            // The focus goes on to the window's view: the editor, or the configuration's list.
            const LRESULT r = DefMDIChildProcW(wnd, msg, wp, lp);
            Document* d = sim.DocumentOfWindow(wnd);
            HWND view = d ? d->editor : wnd == sim.configWindow ? sim.configList : nullptr;
            if (view && IsWindow(view)) SetFocus(view);
            return r;
        }
        case WM_MDIACTIVATE:
            // Sent to the window losing activation first, then to the one gaining it.
            // The editor has the focus when the plugins hear of the activation.
            if (reinterpret_cast<HWND>(lp) == wnd) {
                if (Document* d = sim.DocumentOfWindow(wnd))
                    if (d->editor) SetFocus(d->editor);
                sim.FireActivate(wnd, true);
            } else if (reinterpret_cast<HWND>(wp) == wnd) {
                sim.FireActivate(wnd, false);
            }
            break;
        case WM_SIZE: {
            const LRESULT r = DefMDIChildProcW(wnd, msg, wp, lp);
            FillParent(wnd);
            return r;
        }
        case WM_CLOSE:
            sim.Log(L"window closed: " + std::wstring(sim.DocumentOfWindow(wnd) ? sim.DocumentOfWindow(wnd)->name : L"configuration"));
            break;
        default: break;
    }
    return DefMDIChildProcW(wnd, msg, wp, lp);
}

LRESULT CALLBACK FrameProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    Simulator& sim = Simulator::Get();
    switch (msg) {
        case WM_CREATE: {
            CLIENTCREATESTRUCT ccs{nullptr, 1000};
            sim.mdiClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                            WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0,
                                            0, wnd, nullptr, GetModuleHandleW(nullptr), &ccs);
            return 0;
        }
        case WM_CLOSE:
            RequestQuit();
            return 0;
        case WM_SETFOCUS:
            // Normally the focus goes on to the active window's view; "focus main" keeps it here.
            if (sim.focusOnFrame) return 0;
            break;
        case WM_KILLFOCUS:
            sim.focusOnFrame = false;
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefFrameProcW(wnd, sim.mdiClient, msg, wp, lp);
}

HWND CreateChild(const std::wstring& title) {
    MDICREATESTRUCTW mcs{};
    mcs.szClass = kChildClass;
    mcs.szTitle = title.c_str();
    mcs.hOwner = GetModuleHandleW(nullptr);
    // Every window at the same place, inside the visible part of the frame, so that input
    // at a point of the active window reaches it.
    mcs.x = mcs.y = 0;
    mcs.cx = 700;
    mcs.cy = 480;
    mcs.style = WS_CLIPCHILDREN;
    return reinterpret_cast<HWND>(SendMessageW(Simulator::Get().mdiClient, WM_MDICREATE, 0,
                                               reinterpret_cast<LPARAM>(&mcs)));
}

HWND CreateContainer(const wchar_t* cls, HWND parent) {
    RECT rc;
    GetClientRect(parent, &rc);
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, rc.right, rc.bottom, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::wstring DialogText(HWND dialog) {
    std::wstring text;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32];
        GetClassNameW(c, cls, 32);
        if (lstrcmpiW(cls, L"Static") != 0) continue;
        wchar_t buf[1024];
        if (GetWindowTextW(c, buf, 1024) > 0) text += buf;
    }
    return text;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        HWND wnd = reinterpret_cast<HWND>(wp);
        wchar_t cls[16];
        if (GetClassNameW(wnd, cls, 16) && lstrcmpW(cls, L"#32770") == 0) {
            wchar_t caption[256] = {};
            GetWindowTextW(wnd, caption, 256);
            const std::wstring text = DialogText(wnd);
            Simulator::Get().messageBoxes.push_back(text);
            Simulator::Get().Log(L"message box \"" + std::wstring(caption) + L"\": " + text);
            PostMessageW(wnd, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_cbtHook, code, wp, lp);
}
}  // namespace

bool CreateMainWindows(bool visible) {
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = ChildProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kChildClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = ContainerProc;
    wc.lpszClassName = kPagesClass;
    RegisterClassW(&wc);
    wc.lpszClassName = kMfcFrameClass;
    RegisterClassW(&wc);
    RegisterEditorClass();

    Simulator& sim = Simulator::Get();
    sim.mainWindow = CreateWindowExW(0, kFrameClass, L"Конфигуратор (симулятор) — Tintmark",
                                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1024, 768, nullptr, nullptr, inst,
                                     nullptr);
    if (!sim.mainWindow) return false;
    ShowWindow(sim.mainWindow, visible ? SW_SHOW : SW_SHOWNOACTIVATE);
    RECT rc;
    GetClientRect(sim.mainWindow, &rc);
    MoveWindow(sim.mdiClient, 0, 0, rc.right, rc.bottom, TRUE);
    return CreateConfigWindow();
}

bool CreateConfigWindow() {
    Simulator& sim = Simulator::Get();
    sim.configWindow = CreateChild(L"Конфигурация");
    if (!sim.configWindow) return false;
    // The metadata tree of the configuration, as a list box.
    RECT rc;
    GetClientRect(sim.configWindow, &rc);
    sim.configList = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY |
                                     LBS_NOINTEGRALHEIGHT, 0, 0, rc.right, rc.bottom, sim.configWindow, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    for (const wchar_t* item : {L"Константы", L"Справочники", L"Документы", L"Отчеты", L"Обработки"})
        SendMessageW(sim.configList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    return sim.configList != nullptr;
}

void ReopenConfigWindow() {
    Simulator& sim = Simulator::Get();
    if (sim.configWindow && IsWindow(sim.configWindow))
        SendMessageW(sim.mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(sim.configWindow), 0);
    sim.configWindow = sim.configList = nullptr;
    if (CreateConfigWindow()) sim.FireConfigWindowCreate();
}

Document* OpenDocument(const std::wstring& name, long kind, long id, const std::wstring& path,
                       const std::u16string& text, long page1Kind, bool textFlag) {
    Simulator& sim = Simulator::Get();
    auto doc = std::make_unique<Document>();
    doc->name = name;
    doc->kind = kind;
    doc->id = id;
    doc->path = path;
    doc->page1Kind = page1Kind;
    doc->textFlag = textFlag;
    doc->text.SetText(text);
    Document* d = doc.get();
    sim.documents.push_back(std::move(doc));
    // The window exists before its activation event can find the document.
    d->window = CreateChild(name);
    HWND host = d->window;
    if (kind == kMultiPageDoc) host = CreateContainer(kPagesClass, d->window);
    if (kind == kTextDoc || kind == kMultiPageDoc) {
        d->frame = CreateContainer(kMfcFrameClass, host);
        d->editor = CreateEditor(d->frame, d);
        SetFocus(d->editor);
    }
    sim.Log(L"opened " + name);
    if (d->editor) {
        const EditorGeometry g = GetEditorGeometry(d->editor);
        sim.Log(L"editor " + name + L": line height " + std::to_wstring(g.lineHeight) + L", margin " +
                std::to_wstring(g.margin) + L", first line " + std::to_wstring(g.firstLine) + L", client " +
                std::to_wstring(g.clientWidth) + L"x" + std::to_wstring(g.clientHeight));
    }
    // The MDI client activated the window while it was being created, before the document
    // knew it: the activation is reported now that the window is complete.
    sim.FireActivate(d->window, true);
    return d;
}

void ActivateDocument(Document* doc) {
    SendMessageW(Simulator::Get().mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(doc->window), 0);
}

void InstallMessageBoxCapture() {
    if (!g_cbtHook) g_cbtHook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

bool RequestQuit() {
    Simulator& sim = Simulator::Get();
    if (sim.FireQueryQuit()) return false;
    sim.UnloadPlugins();
    DestroyWindow(sim.mainWindow);
    return true;
}

}  // namespace cfgsim
