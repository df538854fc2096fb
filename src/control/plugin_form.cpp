// The control's form window: painting, mouse and keys turned into form events, and the
// standard properties applied to the window.
#include "control/plugin_form.h"

#include "win/com_error.h"
#include "win/module.h"
#include "menus/menu_model.h"

namespace tintmark {

const wchar_t TPluginForm::kLabelCaption[] = L"coming soon, пока настройка через скрипт";
const wchar_t TPluginForm::kClassName[] = L"TintmarkPluginForm";

namespace {
constexpr OLE_COLOR kWindowTextColour = 0x80000000 | COLOR_WINDOWTEXT;

void RegisterFormClass(WNDPROC proc) {
    WNDCLASSW wc{};
    if (GetClassInfoW(ModuleHandle(), TPluginForm::kClassName, &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = ModuleHandle();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = TPluginForm::kClassName;
    if (!RegisterClassW(&wc)) throw ComError(HRESULT_FROM_WIN32(GetLastError()), L"RegisterClass failed");
}

COLORREF Translate(OLE_COLOR c) {
    COLORREF rgb = 0;
    return SUCCEEDED(OleTranslateColor(c, nullptr, &rgb)) ? rgb : GetSysColor(COLOR_BTNFACE);
}

// The form's own font: MS Sans Serif, 8 points, Russian character set.
ComPtr<IFont> DefaultFont() {
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = const_cast<LPOLESTR>(L"MS Sans Serif");
    desc.cySize.int64 = 8 * 10000;
    desc.sWeight = FW_NORMAL;
    desc.sCharset = RUSSIAN_CHARSET;
    ComPtr<IFont> font;
    ThrowIfFailed(OleCreateFontIndirect(&desc, IID_IFont, font.put_void()), L"OleCreateFontIndirect");
    return font;
}
}  // namespace

// Tells the form when its font object changes.
class TPluginForm::FontSink final : public IPropertyNotifySink {
public:
    explicit FontSink(TPluginForm& form) : form_(form) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IPropertyNotifySink) {
            *ppv = static_cast<IPropertyNotifySink*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override {
        return ComBoundary([&] { form_.FontChanged(); });
    }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

private:
    TPluginForm& form_;
};

TPluginForm::TPluginForm() : props_(DefaultProperties()), fontSink_(new FontSink(*this)) {}

FormProperties TPluginForm::DefaultProperties() {
    FormProperties p;
    HDC screen = GetDC(nullptr);
    p.PixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return p;
}

TPluginForm::~TPluginForm() {
    Destroy();
    DisconnectFont();
    delete fontSink_;
}

// ---- the window ----

void TPluginForm::Create(HWND parent, const RECT& pos) {
    if (wnd_) return;
    RegisterFormClass(&TPluginForm::WindowProc);
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (!props_.Enabled) style |= WS_DISABLED;
    HWND wnd = CreateWindowExW(0, kClassName, props_.Caption.c_str(), style, pos.left, pos.top,
                               pos.right - pos.left, pos.bottom - pos.top, parent, nullptr, ModuleHandle(), this);
    if (!wnd) throw ComError(HRESULT_FROM_WIN32(GetLastError()), L"Cannot create the form window");
    ApplyBorder();
    if (props_.Visible) ShowWindow(wnd_, SW_SHOWNA);
}

void TPluginForm::Destroy() {
    if (wnd_) DestroyWindow(wnd_);
}

void TPluginForm::SetBounds(const RECT& pos) {
    if (wnd_)
        SetWindowPos(wnd_, nullptr, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TPluginForm::Paint(HDC dc, const RECT& bounds) {
    UniqueGdiObject brush(CreateSolidBrush(Translate(props_.Color)));
    FillRect(dc, &bounds, static_cast<HBRUSH>(brush.get()));
    SelectGuard font(dc, FontHandle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, Translate(kWindowTextColour));
    RECT text{bounds.left + kLabelX, bounds.top + kLabelY, bounds.right, bounds.bottom};
    DrawTextW(dc, kLabelCaption, -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

LRESULT CALLBACK TPluginForm::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* form = reinterpret_cast<TPluginForm*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        form = static_cast<TPluginForm*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        form->wnd_ = wnd;
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    if (!form) return DefWindowProcW(wnd, msg, wp, lp);
    // Nothing thrown reaches the container's message loop.
    try {
        return form->Handle(msg, wp, lp);
    } catch (...) {
        return DefWindowProcW(wnd, msg, wp, lp);
    }
}

LRESULT TPluginForm::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            model_ = new menus::TForm(wnd_);
            if (OnCreated) OnCreated();
            Fire(kOnCreate);
            return 0;
        case WM_DESTROY:
            Fire(kOnDestroy);
            if (OnDestroying) OnDestroying();
            delete std::exchange(model_, nullptr);
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(wnd_, GWLP_USERDATA, 0);
            wnd_ = nullptr;
            break;
        case WM_ERASEBKGND:
            return 1;  // the paint fills the background
        case WM_PAINT:
            return OnPaintMessage();
        case WM_SETFOCUS:
            if (!wp || (reinterpret_cast<HWND>(wp) != wnd_ && !IsChild(wnd_, reinterpret_cast<HWND>(wp))))
                Fire(kOnActivate);
            return 0;
        case WM_KILLFOCUS:
            if (!wp || (reinterpret_cast<HWND>(wp) != wnd_ && !IsChild(wnd_, reinterpret_cast<HWND>(wp))))
                Fire(kOnDeactivate);
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_ACTIVATE;
        case WM_LBUTTONDOWN:
            leftDown_ = true;
            SetCapture(wnd_);
            if (GetFocus() != wnd_) SetFocus(wnd_);
            return 0;
        case WM_LBUTTONUP: {
            const bool wasDown = leftDown_;
            leftDown_ = false;
            if (GetCapture() == wnd_) ReleaseCapture();
            RECT client;
            GetClientRect(wnd_, &client);
            const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (wasDown && PtInRect(&client, at)) Fire(kOnClick);
            return 0;
        }
        case WM_LBUTTONDBLCLK:
            Fire(kOnDblClick);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS;
        case WM_CHAR: {
            short key = static_cast<short>(wp);
            if (OnKeyPress) OnKeyPress(key);
            // A key the client cleared is swallowed; any other goes on as the client left it.
            if (key != 0 && OnKeyUnused) OnKeyUnused(static_cast<WPARAM>(static_cast<unsigned short>(key)));
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(wnd_, msg, wp, lp);
}

LRESULT TPluginForm::OnPaintMessage() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd_, &ps);
    RECT client;
    GetClientRect(wnd_, &client);
    if (props_.DoubleBuffered) {
        UniqueMemoryDc memory(CreateCompatibleDC(dc));
        UniqueGdiObject bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
        {
            SelectGuard select(memory.get(), bitmap.get());
            Paint(memory.get(), client);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
        }
    } else {
        Paint(dc, client);
    }
    EndPaint(wnd_, &ps);
    Fire(kOnPaint);
    return 0;
}

void TPluginForm::Fire(DISPID id) {
    if (OnEvent) OnEvent(id);
}

void TPluginForm::Changed() {
    if (wnd_) InvalidateRect(wnd_, nullptr, FALSE);
    if (OnChanged) OnChanged();
}

// ---- properties ----

void TPluginForm::SetProperties(FormProperties props) {
    props_ = std::move(props);
    if (wnd_) {
        SetWindowTextW(wnd_, props_.Caption.c_str());
        EnableWindow(wnd_, props_.Enabled);
        ApplyBorder();
        ShowWindow(wnd_, props_.Visible ? SW_SHOWNA : SW_HIDE);
    }
    Changed();
}

bool TPluginForm::Visible() const { return wnd_ ? IsWindowVisible(wnd_) != FALSE : props_.Visible; }

void TPluginForm::SetVisible(bool v) {
    props_.Visible = v;
    if (wnd_) ShowWindow(wnd_, v ? SW_SHOWNA : SW_HIDE);
    Changed();
}

bool TPluginForm::Enabled() const { return wnd_ ? IsWindowEnabled(wnd_) != FALSE : props_.Enabled; }

void TPluginForm::SetEnabled(bool v) {
    props_.Enabled = v;
    if (wnd_) EnableWindow(wnd_, v);
    Changed();
}

std::wstring TPluginForm::Caption() const {
    if (!wnd_) return props_.Caption;
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(wnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TPluginForm::SetCaption(const std::wstring& v) {
    props_.Caption = v;
    if (wnd_ && !SetWindowTextW(wnd_, v.c_str()))
        throw ComError(HRESULT_FROM_WIN32(GetLastError()), L"Cannot set the caption");
    Changed();
}

void TPluginForm::SetColor(OLE_COLOR v) {
    COLORREF rgb;
    if (FAILED(OleTranslateColor(v, nullptr, &rgb))) throw ComError(CTL_E_INVALIDPROPERTYVALUE, L"Invalid colour");
    props_.Color = v;
    Changed();
}

void TPluginForm::SetAxBorderStyle(LONG v) {
    if (v < 0 || v > 3) throw ComError(CTL_E_INVALIDPROPERTYVALUE, L"AxBorderStyle is 0 to 3");
    props_.AxBorderStyle = v;
    ApplyBorder();
    Changed();
}

void TPluginForm::SetPrintScale(LONG v) {
    if (v < 0 || v > 2) throw ComError(CTL_E_INVALIDPROPERTYVALUE, L"PrintScale is 0 to 2");
    Store(&FormProperties::PrintScale, v);
}

void TPluginForm::SetPixelsPerInch(LONG v) {
    if (v < 36) throw ComError(CTL_E_INVALIDPROPERTYVALUE, L"PixelsPerInch is at least 36");
    Store(&FormProperties::PixelsPerInch, v);
}

void TPluginForm::SetDoubleBuffered(bool v) { Store(&FormProperties::DoubleBuffered, v); }

void TPluginForm::ApplyBorder() {
    if (!wnd_) return;
    LONG_PTR style = GetWindowLongPtrW(wnd_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER | WS_DLGFRAME);
    LONG_PTR ex = GetWindowLongPtrW(wnd_, GWL_EXSTYLE) &
                  ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME);
    switch (props_.AxBorderStyle) {
        case 1: style |= WS_BORDER; break;
        case 2: ex |= WS_EX_CLIENTEDGE; break;
        case 3: ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE; break;
        default: break;
    }
    SetWindowLongPtrW(wnd_, GWL_STYLE, style);
    SetWindowLongPtrW(wnd_, GWL_EXSTYLE, ex);
    SetWindowPos(wnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TPluginForm::Active() const {
    const HWND focus = GetFocus();
    return wnd_ && focus && (focus == wnd_ || IsChild(wnd_, focus));
}

// ---- font ----

ComPtr<IFontDisp> TPluginForm::Font() {
    if (!font_) {
        font_ = DefaultFont();
        ConnectFont();
    }
    ComPtr<IFontDisp> disp;
    ThrowIfFailed(font_->QueryInterface(IID_IFontDisp, disp.put_void()), L"IFontDisp");
    return disp;
}

void TPluginForm::SetFont(IFontDisp* font, bool byReference) {
    if (!font) throw ComError(E_POINTER, L"No font");
    ComPtr<IFont> given;
    ThrowIfFailed(font->QueryInterface(IID_IFont, given.put_void()), L"The value is not a font");
    ComPtr<IFont> kept = given;
    if (!byReference) ThrowIfFailed(given->Clone(kept.put()), L"IFont::Clone");
    DisconnectFont();
    font_ = kept;
    ConnectFont();
    FontChanged();
}

void TPluginForm::ResetFont() {
    DisconnectFont();
    font_.reset();
    FontChanged();
}

void TPluginForm::ConnectFont() {
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(font_->QueryInterface(IID_IConnectionPointContainer, container.put_void()))) return;
    if (FAILED(container->FindConnectionPoint(IID_IPropertyNotifySink, fontPoint_.put()))) return;
    if (FAILED(fontPoint_->Advise(fontSink_, &fontCookie_))) fontPoint_.reset();
}

void TPluginForm::DisconnectFont() {
    if (fontPoint_) fontPoint_->Unadvise(fontCookie_);
    fontPoint_.reset();
    fontCookie_ = 0;
}

void TPluginForm::FontChanged() {
    hfont_.reset();
    Changed();
}

HFONT TPluginForm::FontHandle() {
    if (!hfont_) {
        Font();
        BSTR name = nullptr;
        CY size{};
        BOOL bold = FALSE, italic = FALSE, underline = FALSE, strike = FALSE;
        SHORT charset = DEFAULT_CHARSET, weight = FW_NORMAL;
        font_->get_Name(&name);
        font_->get_Size(&size);
        font_->get_Bold(&bold);
        font_->get_Italic(&italic);
        font_->get_Underline(&underline);
        font_->get_Strikethrough(&strike);
        font_->get_Charset(&charset);
        font_->get_Weight(&weight);
        UniqueBstr owned(name);
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        LOGFONTW lf{};
        // Points (in 1/10000) to pixels at the screen's resolution, rounded.
        lf.lfHeight = -static_cast<LONG>((size.int64 * dpi + 360000) / 720000);
        lf.lfWeight = bold ? FW_BOLD : weight;
        lf.lfItalic = static_cast<BYTE>(italic != FALSE);
        lf.lfUnderline = static_cast<BYTE>(underline != FALSE);
        lf.lfStrikeOut = static_cast<BYTE>(strike != FALSE);
        lf.lfCharSet = static_cast<BYTE>(charset);
        if (name) lstrcpynW(lf.lfFaceName, name, LF_FACESIZE);
        hfont_.reset(CreateFontIndirectW(&lf));
    }
    return static_cast<HFONT>(hfont_.get());
}

void UnregisterFormClass() { UnregisterClassW(TPluginForm::kClassName, ModuleHandle()); }

}  // namespace tintmark
