// Saving and loading the control's extent, form properties and font in a stream.
#include <cstring>
#include <string>
#include <vector>

#include "win/com_error.h"
#include "control/control.h"
#include "tintmark_h.h"

namespace tintmark {

namespace {
constexpr uint32_t kMagic = 0x464B4D54;  // "TMKF"
constexpr uint32_t kVersion = 1;

class Writer {
public:
    template <typename T>
    void Put(T v) {
        const auto* p = reinterpret_cast<const uint8_t*>(&v);
        bytes.insert(bytes.end(), p, p + sizeof v);
    }
    void Put(const std::wstring& s) {
        Put(static_cast<uint32_t>(s.size()));
        for (wchar_t c : s) Put(static_cast<uint16_t>(c));
    }
    std::vector<uint8_t> bytes;
};

class Reader {
public:
    explicit Reader(IStream* stream) : stream_(stream) {}
    template <typename T>
    T Get() {
        T v{};
        Read(&v, sizeof v);
        return v;
    }
    std::wstring String() {
        const uint32_t n = Get<uint32_t>();
        if (n > 1u << 20) throw ComError(E_FAIL, L"Saved control data are damaged");
        std::wstring s;
        for (uint32_t i = 0; i < n; ++i) s += static_cast<wchar_t>(Get<uint16_t>());
        return s;
    }

private:
    void Read(void* to, ULONG n) {
        ULONG got = 0;
        const HRESULT hr = stream_->Read(to, n, &got);
        if (FAILED(hr)) throw ComError(hr, L"Cannot read the control's data");
        if (got != n) throw ComError(E_FAIL, L"Saved control data are cut short");
    }
    IStream* stream_;
};

void PutBool(Writer& w, bool b) { w.Put(static_cast<uint8_t>(b ? 1 : 0)); }

std::vector<uint8_t> Serialise(const SIZEL& extent, const FormProperties& p, IFont* font) {
    Writer w;
    w.Put(kMagic);
    w.Put(kVersion);
    w.Put(static_cast<int32_t>(extent.cx));
    w.Put(static_cast<int32_t>(extent.cy));
    PutBool(w, p.Visible);
    PutBool(w, p.AutoScroll);
    PutBool(w, p.AutoSize);
    w.Put(static_cast<int32_t>(p.AxBorderStyle));
    w.Put(p.Caption);
    w.Put(static_cast<uint32_t>(p.Color));
    PutBool(w, p.KeyPreview);
    w.Put(static_cast<int32_t>(p.PixelsPerInch));
    w.Put(static_cast<int32_t>(p.PrintScale));
    PutBool(w, p.Scaled);
    PutBool(w, p.DropTarget);
    w.Put(p.HelpFile);
    PutBool(w, p.ScreenSnap);
    w.Put(static_cast<int32_t>(p.SnapBuffer));
    PutBool(w, p.DoubleBuffered);
    PutBool(w, p.Enabled);
    BSTR name = nullptr;
    CY size{};
    SHORT weight = FW_NORMAL, charset = DEFAULT_CHARSET;
    BOOL italic = FALSE, underline = FALSE, strike = FALSE;
    font->get_Name(&name);
    UniqueBstr owned(name);
    font->get_Size(&size);
    font->get_Weight(&weight);
    font->get_Charset(&charset);
    font->get_Italic(&italic);
    font->get_Underline(&underline);
    font->get_Strikethrough(&strike);
    w.Put(std::wstring(name ? name : L""));
    w.Put(static_cast<int64_t>(size.int64));
    w.Put(static_cast<int16_t>(weight));
    w.Put(static_cast<int16_t>(charset));
    PutBool(w, italic != FALSE);
    PutBool(w, underline != FALSE);
    PutBool(w, strike != FALSE);
    return std::move(w.bytes);
}

ComPtr<IFont> FontFromStream(Reader& r) {
    std::wstring name = r.String();
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = name.data();
    desc.cySize.int64 = r.Get<int64_t>();
    desc.sWeight = r.Get<int16_t>();
    desc.sCharset = r.Get<int16_t>();
    desc.fItalic = r.Get<uint8_t>() != 0;
    desc.fUnderline = r.Get<uint8_t>() != 0;
    desc.fStrikethrough = r.Get<uint8_t>() != 0;
    ComPtr<IFont> font;
    ThrowIfFailed(OleCreateFontIndirect(&desc, IID_IFont, font.put_void()), L"OleCreateFontIndirect");
    return font;
}

ComPtr<IFont> FormFont(TPluginForm& form) {
    ComPtr<IFont> font;
    ThrowIfFailed(form.Font()->QueryInterface(IID_IFont, font.put_void()), L"IFont");
    return font;
}
}  // namespace

HRESULT TPluginControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_TintmarkPlugin;
    return S_OK;
}

HRESULT TPluginControl::Save(IStream* stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    return ComBoundary([&] {
        const auto bytes = Serialise(extent_, Form.Properties(), FormFont(Form).get());
        ULONG written = 0;
        ThrowIfFailed(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written), L"IStream::Write");
        if (written != bytes.size()) throw ComError(STG_E_MEDIUMFULL, L"The control's data were not written whole");
        if (clearDirty) dirty_ = false;
    });
}

HRESULT TPluginControl::Load(IStream* stream) {
    if (!stream) return E_POINTER;
    return ComBoundary([&] {
        Reader r(stream);
        if (r.Get<uint32_t>() != kMagic || r.Get<uint32_t>() != kVersion)
            throw ComError(E_FAIL, L"The stream does not hold this control's data");
        SIZEL extent{r.Get<int32_t>(), r.Get<int32_t>()};
        FormProperties p = TPluginForm::DefaultProperties();
        p.Visible = r.Get<uint8_t>() != 0;
        p.AutoScroll = r.Get<uint8_t>() != 0;
        p.AutoSize = r.Get<uint8_t>() != 0;
        p.AxBorderStyle = r.Get<int32_t>();
        p.Caption = r.String();
        p.Color = r.Get<uint32_t>();
        p.KeyPreview = r.Get<uint8_t>() != 0;
        p.PixelsPerInch = r.Get<int32_t>();
        p.PrintScale = r.Get<int32_t>();
        p.Scaled = r.Get<uint8_t>() != 0;
        p.DropTarget = r.Get<uint8_t>() != 0;
        p.HelpFile = r.String();
        p.ScreenSnap = r.Get<uint8_t>() != 0;
        p.SnapBuffer = r.Get<int32_t>();
        p.DoubleBuffered = r.Get<uint8_t>() != 0;
        p.Enabled = r.Get<uint8_t>() != 0;
        ComPtr<IFont> font = FontFromStream(r);
        if (p.AxBorderStyle < 0 || p.AxBorderStyle > 3 || p.PrintScale < 0 || p.PrintScale > 2)
            throw ComError(E_FAIL, L"Saved control data are damaged");
        // Everything was read: only now does the control change.
        extent_ = extent;
        Form.SetProperties(std::move(p));
        ComPtr<IFontDisp> disp;
        ThrowIfFailed(font->QueryInterface(IID_IFontDisp, disp.put_void()), L"IFontDisp");
        Form.SetFont(disp.get(), true);
        dirty_ = false;
    });
}

HRESULT TPluginControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    return ComBoundary([&] {
        size->QuadPart = Serialise(extent_, Form.Properties(), FormFont(Form).get()).size();
    });
}

HRESULT TPluginControl::InitNew() {
    return ComBoundary([&] {
        Form.SetProperties(TPluginForm::DefaultProperties());
        Form.ResetFont();
        dirty_ = false;
    });
}

}  // namespace tintmark
