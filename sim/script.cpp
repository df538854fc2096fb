// Script commands: documents, input, plugin calls, fault injection and assertions.
#include "script.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>

#include "editor_window.h"
#include "frame.h"
#include "host_objects.h"
#include "options.h"
#include "screenshot.h"
#include "script_host.h"
#include "simulator.h"

namespace cfgsim {

void Pump() {
    for (int round = 0; round < 3; ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (Simulator::Get().mainWindow) RedrawWindow(Simulator::Get().mainWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

namespace {

struct ScriptError {
    std::wstring message;
};

std::vector<std::wstring> Words(const std::wstring& line) {
    std::vector<std::wstring> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && iswspace(line[i])) ++i;
        if (i >= line.size()) break;
        std::wstring w;
        if (line[i] == L'"') {
            for (++i; i < line.size() && line[i] != L'"'; ++i) w += line[i];
            ++i;
        } else {
            while (i < line.size() && !iswspace(line[i])) w += line[i++];
        }
        out.push_back(w);
    }
    return out;
}

long Number(const std::wstring& s) {
    wchar_t* end = nullptr;
    const long long v = std::wcstoll(s.c_str(), &end, 0);
    if (s.empty() || *end) throw ScriptError{L"not a number: " + s};
    return static_cast<long>(v);
}

std::string ReadFile(const std::wstring& path) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) throw ScriptError{L"cannot read " + path};
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    std::fclose(f);
    return data;
}

bool Has(const std::vector<std::wstring>& w, const wchar_t* flag) {
    for (const auto& x : w)
        if (x == flag) return true;
    return false;
}

Document* Active() {
    Document* d = Simulator::Get().ActiveDocument();
    if (!d || !d->editor) throw ScriptError{L"no active editor"};
    return d;
}

// Sets the modifier keys in the thread's key state (what GetKeyState reads).
class Modifiers {
public:
    explicit Modifiers(const std::vector<std::wstring>& w) {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::memcpy(state, saved_, sizeof state);
        auto set = [&](int vk, bool on) { state[vk] = on ? 0x80 : 0; };
        set(VK_SHIFT, Has(w, L"shift"));
        set(VK_CONTROL, Has(w, L"ctrl"));
        set(VK_MENU, Has(w, L"alt"));
        SetKeyboardState(state);
        flags_ = (Has(w, L"shift") ? MK_SHIFT : 0) | (Has(w, L"ctrl") ? MK_CONTROL : 0);
    }
    ~Modifiers() { SetKeyboardState(saved_); }
    WPARAM flags() const { return flags_; }

private:
    BYTE saved_[256];
    WPARAM flags_ = 0;
};

void Click(HWND editor, POINT p, const std::vector<std::wstring>& w) {
    Modifiers mods(w);
    POINT screen = p;
    ClientToScreen(editor, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM at = MAKELPARAM(p.x, p.y);
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON | mods.flags(), at);
    Pump();
    SendMessageW(editor, WM_LBUTTONUP, mods.flags(), at);
    Pump();
}

VARIANT Value(const std::wstring& s) {
    VARIANT v;
    VariantInit(&v);
    if (s == L"true" || s == L"false") {
        v.vt = VT_BOOL;
        v.boolVal = s == L"true" ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    wchar_t* end = nullptr;
    const long long n = std::wcstoll(s.c_str(), &end, 0);
    if (!s.empty() && !*end) {
        v.vt = VT_I4;
        v.lVal = static_cast<long>(n);
    } else {
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(s.c_str());
    }
    return v;
}

// Calls a method or writes a property of a plugin through IDispatch, as a script engine does.
void Dispatch(const std::wstring& plugin, const std::wstring& member, const VARIANT* value) {
    IDispatch* d = Simulator::Get().PluginByName(plugin);
    if (!d) throw ScriptError{L"no plugin " + plugin};
    LPOLESTR names[] = {const_cast<LPOLESTR>(member.c_str())};
    DISPID id = 0;
    HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw ScriptError{L"no member " + member};
    VARIANT arg;
    VariantInit(&arg);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    if (value) {
        VariantCopy(&arg, const_cast<VARIANT*>(value));
        params = DISPPARAMS{&arg, &named, 1, 1};
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excep{};
    hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, value ? DISPATCH_PROPERTYPUT : DISPATCH_METHOD, &params,
                   &result, &excep, nullptr);
    VariantClear(&arg);
    VariantClear(&result);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrHelpFile);
    std::wstring why = excep.bstrDescription ? excep.bstrDescription : L"";
    SysFreeString(excep.bstrDescription);
    wchar_t code[32];
    swprintf(code, 32, L"0x%08lX", static_cast<unsigned long>(hr));
    Simulator::Get().Log(plugin + L"." + member + L" -> " + code + (why.empty() ? L"" : L" " + why));
    Pump();
}

class Runner {
public:
    explicit Runner(const std::wstring& path) : path_(path) {
        const std::string bytes = ReadFile(path);
        std::wstring text = Wide(bytes);
        if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
        std::wstringstream in(text);
        std::wstring line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == L'\r') line.pop_back();
            lines_.push_back(line);
        }
        const size_t slash = path.find_last_of(L"\\/");
        dir_ = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    }

    int Run() {
        for (size_t i = 0; i < lines_.size(); ++i) {
            const auto w = Words(lines_[i]);
            if (w.empty() || w[0][0] == L'#') continue;
            try {
                if (!Command(w)) return 0;  // quit
            } catch (const ScriptError& e) {
                const std::wstring where = path_ + L":" + std::to_wstring(i + 1);
                Simulator::Get().Log(where + L": " + e.message);
                std::fprintf(stderr, "%s: %s\n", Utf8(where).c_str(), Utf8(e.message).c_str());
                return 1;
            }
        }
        return 0;
    }

private:
    std::wstring Path(const std::wstring& p) const {
        if (p.size() > 1 && (p[1] == L':' || p[0] == L'\\' || p[0] == L'/')) return p;
        return dir_ + p;
    }

    void Need(const std::vector<std::wstring>& w, size_t n) {
        if (w.size() < n) throw ScriptError{L"too few arguments for " + w[0]};
    }

    // Returns false for quit.
    bool Command(const std::vector<std::wstring>& w) {
        Simulator& sim = Simulator::Get();
        const std::wstring& c = w[0];
        if (c == L"option") {
            Need(w, 3);
            if (!SetOption(w[1], w[2])) throw ScriptError{L"cannot write option " + w[1]};
        } else if (c == L"option-delete") {
            Need(w, 2);
            DeleteOption(w[1]);
        } else if (c == L"load") {
            Need(w, 2);
            if (!sim.LoadPlugin(w[1])) throw ScriptError{L"plugin " + w[1] + L" did not start"};
        } else if (c == L"event") {
            Need(w, 2);
            if (w[1] == L"config-window-create") sim.FireConfigWindowCreate();
            else if (w[1] == L"telepat-insert") sim.telepat->FireInsert(1, L"name", L"text");
            else throw ScriptError{L"unknown event " + w[1]};
        } else if (c == L"open") {
            Need(w, 2);
            Open(w);
        } else if (c == L"activate") {
            Need(w, 2);
            Document* d = sim.DocumentByName(w[1]);
            if (!d) throw ScriptError{L"no window " + w[1]};
            ActivateDocument(d);
        } else if (c == L"page") {
            Need(w, 2);
            Active()->activePage = Number(w[1]);
        } else if (c == L"caret") {
            Need(w, 3);
            Document* d = Active();
            const long l = Number(w[1]), col = Number(w[2]);
            const long l2 = w.size() > 4 ? Number(w[3]) : l, c2 = w.size() > 4 ? Number(w[4]) : col;
            d->text.MoveCaret({l, col}, {l2, c2});
            EditorCaretMoved(d);
        } else if (c == L"key") {
            Need(w, 2);
            Key(w);
        } else if (c == L"type") {
            Need(w, 2);
            for (wchar_t ch : w[1]) SendMessageW(Active()->editor, WM_CHAR, ch, 1);
        } else if (c == L"click") {
            Need(w, 3);
            Click(Active()->editor, POINT{Number(w[1]), Number(w[2])}, w);
        } else if (c == L"clickat") {
            Need(w, 3);
            HWND e = Active()->editor;
            Click(e, EditorPointOf(e, Number(w[1]), Number(w[2])), w);
        } else if (c == L"gutter") {
            Need(w, 2);
            HWND e = Active()->editor;
            POINT p = EditorPointOf(e, Number(w[1]), 0);
            p.x = 4;
            Click(e, p, w);
        } else if (c == L"drag") {
            Need(w, 5);
            HWND e = Active()->editor;
            const POINT a = EditorPointOf(e, Number(w[1]), Number(w[2]));
            const POINT b = EditorPointOf(e, Number(w[3]), Number(w[4]));
            SendMessageW(e, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
            SendMessageW(e, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
            SendMessageW(e, WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
        } else if (c == L"scroll") {
            Need(w, 2);
            SendMessageW(Active()->editor, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, Number(w[1])), 0);
        } else if (c == L"hscroll") {
            Need(w, 2);
            SendMessageW(Active()->editor, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, Number(w[1])), 0);
        } else if (c == L"call") {
            Need(w, 3);
            Dispatch(w[1], w[2], nullptr);
        } else if (c == L"set") {
            Need(w, 4);
            VARIANT v = Value(w[3]);
            Dispatch(w[1], w[2], &v);
            VariantClear(&v);
        } else if (c == L"run-script") {
            Need(w, 2);
            std::wstring source = Wide(ReadFile(Path(w[1])));
            if (!source.empty() && source[0] == 0xFEFF) source.erase(0, 1);
            std::wstring error;
            if (!RunScriptFile(Path(w[1]), source, error)) throw ScriptError{w[1] + L": " + error};
            sim.Log(L"ran " + w[1]);
        } else if (c == L"close") {
            Need(w, 2);
            Document* d = sim.DocumentByName(w[1]);
            HWND target = w[1] == L"configuration" ? sim.configWindow : d ? d->window : nullptr;
            if (!target) throw ScriptError{L"no window " + w[1]};
            SendMessageW(target, WM_CLOSE, 0, 0);
        } else if (c == L"quit") {
            if (RequestQuit()) return false;
        } else if (c == L"fail") {
            Need(w, 4);
            sim.InjectFault(Utf8(w[1]), static_cast<int>(Number(w[2])), static_cast<HRESULT>(Number(w[3])));
        } else if (c == L"unload") {
            sim.UnloadPlugins();
        } else if (c == L"remember-refs") {
            rememberedRefs_ = sim.configurator->RefCount();
        } else if (c == L"reset-calls") {
            sim.calls.clear();
        } else if (c == L"screenshot") {
            Need(w, 2);
            Pump();
            HWND target = w.size() > 2 && w[2] == L"editor" ? Active()->editor : sim.mainWindow;
            if (!SaveWindowPng(target, Path(w[1]))) throw ScriptError{L"cannot write " + w[1]};
            sim.Log(L"screenshot " + w[1]);
        } else if (c == L"wait") {
            Need(w, 2);
            Sleep(static_cast<DWORD>(Number(w[1])));
        } else if (c.rfind(L"expect-", 0) == 0) {
            Pump();
            Expect(w);
        } else {
            throw ScriptError{L"unknown command " + c};
        }
        Pump();
        return true;
    }

    void Open(const std::vector<std::wstring>& w) {
        const std::wstring file = Path(w[1]);
        std::wstring name = w[1].substr(w[1].find_last_of(L"\\/") == std::wstring::npos ? 0 : w[1].find_last_of(L"\\/") + 1);
        long kind = kTextDoc, id = 0;
        std::wstring path = file;
        for (size_t i = 2; i + 1 < w.size(); ++i) {
            if (w[i] == L"as") name = w[++i];
            else if (w[i] == L"kind") kind = Number(w[++i]);
            else if (w[i] == L"id") id = Number(w[++i]);
            else if (w[i] == L"path") path = w[++i];
        }
        const std::u16string text = DecodeModule(ReadFile(file), Has(w, L"utf8"));
        OpenDocument(name, kind, id, path, text);
    }

    void Key(const std::vector<std::wstring>& w) {
        static const std::map<std::wstring, UINT> keys = {
            {L"Left", VK_LEFT}, {L"Right", VK_RIGHT}, {L"Up", VK_UP}, {L"Down", VK_DOWN},
            {L"Home", VK_HOME}, {L"End", VK_END}, {L"PgUp", VK_PRIOR}, {L"PgDn", VK_NEXT},
            {L"Enter", VK_RETURN}, {L"Backspace", VK_BACK}, {L"Delete", VK_DELETE}, {L"Tab", VK_TAB},
            {L"Shift", VK_SHIFT}, {L"Ctrl", VK_CONTROL}};
        auto it = keys.find(w[1]);
        if (it == keys.end()) throw ScriptError{L"unknown key " + w[1]};
        HWND e = Active()->editor;
        Modifiers mods(w);
        SendMessageW(e, WM_KEYDOWN, it->second, 1);
        if (it->second == VK_RETURN) SendMessageW(e, WM_CHAR, L'\r', 1);
        if (it->second == VK_BACK) SendMessageW(e, WM_CHAR, L'\b', 1);
        if (it->second == VK_TAB) SendMessageW(e, WM_CHAR, L'\t', 1);
        SendMessageW(e, WM_KEYUP, it->second, 0xC0000001);
        Pump();
    }

    void Expect(const std::vector<std::wstring>& w) {
        Simulator& sim = Simulator::Get();
        const std::wstring& c = w[0];
        auto fail = [&](const std::wstring& what) { throw ScriptError{L"expectation failed: " + what}; };
        if (c == L"expect-text") {
            Need(w, 3);
            Document* d = sim.DocumentByName(w[1]);
            if (!d) fail(L"no window " + w[1]);
            TextBuffer want(DecodeModule(ReadFile(Path(w[2])), Has(w, L"utf8")));
            if (d->text.GetText() != want.GetText()) fail(L"the text of " + w[1] + L" differs from " + w[2]);
        } else if (c == L"expect-caret") {
            Need(w, 3);
            const TextPos p = Active()->text.SelStart();
            if (p.line != Number(w[1]) || p.col != Number(w[2]))
                fail(L"caret at " + std::to_wstring(p.line) + L" " + std::to_wstring(p.col));
        } else if (c == L"expect-selection") {
            Need(w, 5);
            const TextPos a = Active()->text.SelStart(), b = Active()->text.SelEnd();
            if (a.line != Number(w[1]) || a.col != Number(w[2]) || b.line != Number(w[3]) || b.col != Number(w[4]))
                fail(L"selection " + std::to_wstring(a.line) + L" " + std::to_wstring(a.col) + L" " +
                     std::to_wstring(b.line) + L" " + std::to_wstring(b.col));
        } else if (c == L"expect-pixel") {
            Need(w, 4);
            const COLORREF got = ClientPixel(Active()->editor, Number(w[1]), Number(w[2]));
            const long want = Number(w[3]);  // 0xRRGGBB
            const long rgb = (GetRValue(got) << 16) | (GetGValue(got) << 8) | GetBValue(got);
            wchar_t text[64];
            swprintf(text, 64, L"pixel %ls %ls is %06lX", w[1].c_str(), w[2].c_str(), rgb);
            if (rgb != want) fail(text);
        } else if (c == L"expect-msgbox") {
            Need(w, 2);
            bool found = false;
            for (const auto& m : sim.messageBoxes) found = found || m.find(w[1]) != std::wstring::npos;
            if (!found) fail(L"no message box with " + w[1]);
        } else if (c == L"expect-msgbox-count") {
            Need(w, 2);
            if (static_cast<long>(sim.messageBoxes.size()) != Number(w[1]))
                fail(std::to_wstring(sim.messageBoxes.size()) + L" message boxes");
        } else if (c == L"expect-message") {
            Need(w, 2);
            bool found = false;
            for (const auto& m : sim.messageLines) found = found || m.find(w[1]) != std::wstring::npos;
            if (!found) fail(L"no message line with " + w[1]);
        } else if (c == L"expect-log") {
            Need(w, 2);
            bool found = false;
            for (const auto& m : sim.log) found = found || m.find(w[1]) != std::wstring::npos;
            if (!found) fail(L"no log line with " + w[1]);
        } else if (c == L"expect-no-log") {
            Need(w, 2);
            for (const auto& m : sim.log)
                if (m.find(w[1]) != std::wstring::npos) fail(L"log line: " + m);
        } else if (c == L"expect-calls") {
            Need(w, 3);
            const int n = sim.calls[Utf8(w[1])];
            if (n != Number(w[2])) fail(w[1] + L" was called " + std::to_wstring(n) + L" times");
        } else if (c == L"expect-files") {
            Need(w, 3);
            WIN32_FIND_DATAW fd;
            const std::wstring pattern = sim.workFolder + L"Tintmark_Temp\\" + w[1];
            int n = 0;
            HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
            if (h != INVALID_HANDLE_VALUE) {
                do ++n;
                while (FindNextFileW(h, &fd));
                FindClose(h);
            }
            if (n != Number(w[2])) fail(std::to_wstring(n) + L" files match " + w[1]);
        } else if (c == L"expect-windows") {
            Need(w, 2);
            long n = 0;
            for (auto& d : sim.documents) n += d->window && IsWindow(d->window);
            if (n != Number(w[1])) fail(std::to_wstring(n) + L" open windows");
        } else if (c == L"expect-refs-restored") {
            if (sim.configurator->RefCount() != rememberedRefs_)
                fail(L"the configurator has " + std::to_wstring(sim.configurator->RefCount()) + L" references, " +
                     std::to_wstring(rememberedRefs_) + L" before");
        } else if (c == L"expect-connected") {
            Need(w, 2);
            if (sim.configurator->events.Connected() != Number(w[1]))
                fail(std::to_wstring(sim.configurator->events.Connected()) + L" event sinks connected");
        } else {
            throw ScriptError{L"unknown command " + c};
        }
    }

    std::wstring path_;
    std::wstring dir_;
    LONG rememberedRefs_ = -1;
    std::vector<std::wstring> lines_;
};

}  // namespace

int RunScript(const std::wstring& path) {
    try {
        return Runner(path).Run();
    } catch (const ScriptError& e) {
        std::fprintf(stderr, "%s\n", Utf8(e.message).c_str());
        return 2;
    }
}

}  // namespace cfgsim
