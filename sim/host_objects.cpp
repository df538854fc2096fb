// The configurator's object model as the simulator implements it.
#include "host_objects.h"

#include "editor_window.h"

namespace cfgsim {

namespace {

BSTR ToBstr(const std::u16string& s) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
}
BSTR ToBstr(const std::wstring& s) { return SysAllocStringLen(s.data(), static_cast<UINT>(s.size())); }
std::u16string FromBstr(BSTR b) {
    return b ? std::u16string(reinterpret_cast<const char16_t*>(b), SysStringLen(b)) : std::u16string();
}

HRESULT ToLong(const VARIANT& v, long& out) {
    VARIANT x;
    VariantInit(&x);
    const HRESULT hr = VariantChangeType(&x, const_cast<VARIANT*>(&v), 0, VT_I4);
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    out = x.lVal;
    return S_OK;
}

#define ENTER(op)                                          \
    do {                                                   \
        const HRESULT fault_ = Simulator::Get().Enter(op); \
        if (FAILED(fault_)) return fault_;                 \
    } while (0)

// ---- windows ----

class WindowObject final : public ComObject<ICfgWindow> {
public:
    explicit WindowObject(HWND wnd) : ComObject(IID_ICfgWindow), wnd_(wnd) {}
    HWND Handle() const { return wnd_; }

    HRESULT STDMETHODCALLTYPE GetWindowHandle(LONG* hwnd) override {
        ENTER("GetWindowHandle");
        if (!hwnd) return E_POINTER;
        *hwnd = static_cast<LONG>(reinterpret_cast<LONG_PTR>(wnd_));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocument(ICfgDoc** doc) override {
        ENTER("GetDocument");
        if (!doc) return E_POINTER;
        Document* d = Simulator::Get().DocumentOfWindow(wnd_);
        *doc = d ? NewDocumentObject(d) : nullptr;
        return d ? S_OK : E_FAIL;
    }

private:
    HWND wnd_;
};

class MDWindowObject final : public ComObject<IMDWindow> {
public:
    MDWindowObject() : ComObject(IID_IMDWindow) {}
    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved12() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetConfigWindowHandle(LONG* hwnd) override {
        ENTER("GetConfigWindowHandle");
        if (!hwnd) return E_POINTER;
        *hwnd = static_cast<LONG>(reinterpret_cast<LONG_PTR>(Simulator::Get().configWindow));
        return S_OK;
    }
};

class WindowListObject final : public ComObject<ICfgWindowList> {
public:
    WindowListObject() : ComObject(IID_ICfgWindowList) {}
    HRESULT STDMETHODCALLTYPE GetMainWindow(ICfgWindow** wnd) override {
        ENTER("GetMainWindow");
        if (!wnd) return E_POINTER;
        *wnd = new WindowObject(Simulator::Get().mainWindow);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetActiveCfgWindow(ICfgWindow** wnd) override {
        ENTER("GetActiveCfgWindow");
        if (!wnd) return E_POINTER;
        Document* d = Simulator::Get().ActiveDocument();
        *wnd = d ? new WindowObject(d->window) : nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFirstCfgWindow(ICfgWindow** wnd) override {
        ENTER("GetFirstCfgWindow");
        if (!wnd) return E_POINTER;
        *wnd = Open(0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNextCfgWindow(ICfgWindow* after, ICfgWindow** next) override {
        ENTER("GetNextCfgWindow");
        if (!next) return E_POINTER;
        *next = nullptr;
        if (!after) return E_POINTER;
        LONG h = 0;
        if (FAILED(after->GetWindowHandle(&h))) return E_FAIL;
        auto& docs = Simulator::Get().documents;
        for (size_t i = 0; i < docs.size(); ++i)
            if (docs[i]->window == reinterpret_cast<HWND>(static_cast<LONG_PTR>(h))) {
                *next = Open(i + 1);
                break;
            }
        return S_OK;
    }

private:
    // The first open document window from index on, as an object.
    static ICfgWindow* Open(size_t from) {
        auto& docs = Simulator::Get().documents;
        for (size_t i = from; i < docs.size(); ++i)
            if (docs[i]->window && IsWindow(docs[i]->window)) return new WindowObject(docs[i]->window);
        return nullptr;
    }
};

class PluginListObject final : public ComObject<IPluginList> {
public:
    PluginListObject() : ComObject(IID_IPluginList) {}
    HRESULT STDMETHODCALLTYPE PluginByName(VARIANT name, IDispatch** plugin) override {
        ENTER("PluginByName");
        if (!plugin) return E_POINTER;
        *plugin = nullptr;
        VARIANT s;
        VariantInit(&s);
        if (FAILED(VariantChangeType(&s, &name, 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
        const std::wstring n(s.bstrVal, SysStringLen(s.bstrVal));
        VariantClear(&s);
        IDispatch* d = Simulator::Get().PluginByName(n);
        if (!d) return E_INVALIDARG;
        d->AddRef();
        *plugin = d;
        return S_OK;
    }
};

// ---- documents ----

template <typename I>
class DocumentBase : public ComObject<I> {
public:
    DocumentBase(REFIID iid, Document* doc) : ComObject<I>(iid), doc_(doc) {}

    HRESULT STDMETHODCALLTYPE GetDocKind(LONG* kind) override {
        ENTER("GetDocKind");
        if (!kind) return E_POINTER;
        *kind = Kind();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDocId(LONG* id) override {
        ENTER("GetDocId");
        if (!id) return E_POINTER;
        *id = doc_->id;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocName(BSTR* name) override {
        ENTER("GetDocName");
        if (!name) return E_POINTER;
        *name = ToBstr(doc_->name);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved12() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved13() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocPath(BSTR* path) override {
        ENTER("GetDocPath");
        if (!path) return E_POINTER;
        *path = ToBstr(doc_->path);
        return S_OK;
    }

protected:
    virtual long Kind() const { return doc_->kind; }
    bool Also(REFIID riid) override { return riid == IID_ICfgDoc; }
    Document* doc_;
};

class OtherDocumentObject final : public DocumentBase<ICfgDoc> {
public:
    // kind: the kind it reports (a page of a multi-page document has its own).
    OtherDocumentObject(Document* d, long kind) : DocumentBase(IID_ICfgDoc, d), kind_(kind) {}

protected:
    long Kind() const override { return kind_; }

private:
    long kind_;
};

class TextDocObject final : public DocumentBase<ITextDoc> {
public:
    explicit TextDocObject(Document* d) : DocumentBase(IID_ITextDoc, d) {}

    HRESULT STDMETHODCALLTYPE Reserved15() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved16() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetText(BSTR* text) override {
        ENTER("GetText");
        if (!text) return E_POINTER;
        *text = ToBstr(doc_->text.GetText());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved18() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineCount(LONG* count) override {
        ENTER("GetLineCount");
        if (!count) return E_POINTER;
        *count = doc_->text.LineCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLineLength(LONG line, LONG* length) override {
        ENTER("GetLineLength");
        if (!length) return E_POINTER;
        *length = doc_->text.LineLength(line);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTextFlag(VARIANT_BOOL* isText) override {
        ENTER("GetTextFlag");
        if (!isText) return E_POINTER;
        *isText = doc_->textFlag ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved22() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved23() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved24() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRangeText(LONG line1, VARIANT col1, VARIANT line2, VARIANT col2, BSTR* text) override {
        ENTER("GetRangeText");
        if (!text) return E_POINTER;
        long c1, l2, c2;
        if (FAILED(ToLong(col1, c1)) || FAILED(ToLong(line2, l2)) || FAILED(ToLong(col2, c2)))
            return DISP_E_TYPEMISMATCH;
        *text = ToBstr(doc_->text.RangeText({line1, c1}, {l2, c2}));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReplaceRange(LONG line1, VARIANT col1, VARIANT line2, VARIANT col2, BSTR text) override {
        ENTER("ReplaceRange");
        long c1, l2, c2;
        if (FAILED(ToLong(col1, c1)) || FAILED(ToLong(line2, l2)) || FAILED(ToLong(col2, c2)))
            return DISP_E_TYPEMISMATCH;
        EditorReplaceRange(doc_, {line1, c1}, {l2, c2}, FromBstr(text));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSelStartLine(LONG* v) override { return Sel("GetSelStartLine", v, doc_->text.SelStart().line); }
    HRESULT STDMETHODCALLTYPE GetSelStartCol(LONG* v) override { return Sel("GetSelStartCol", v, doc_->text.SelStart().col); }
    HRESULT STDMETHODCALLTYPE GetSelEndLine(LONG* v) override { return Sel("GetSelEndLine", v, doc_->text.SelEnd().line); }
    HRESULT STDMETHODCALLTYPE GetSelEndCol(LONG* v) override { return Sel("GetSelEndCol", v, doc_->text.SelEnd().col); }
    HRESULT STDMETHODCALLTYPE Reserved31() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveCaret(LONG line1, LONG col1, VARIANT line2, VARIANT col2) override {
        ENTER("MoveCaret");
        long l2, c2;
        if (FAILED(ToLong(line2, l2)) || FAILED(ToLong(col2, c2))) return DISP_E_TYPEMISMATCH;
        EditorMoveCaret(doc_, {line1, col1}, {l2, c2});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBookmark(LONG line, VARIANT_BOOL* set) override {
        ENTER("GetBookmark");
        if (!set) return E_POINTER;
        *set = doc_->text.Bookmark(line) ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetBookmark(LONG line, VARIANT_BOOL set) override {
        ENTER("SetBookmark");
        EditorSetBookmark(doc_, line, set != VARIANT_FALSE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NextBookmark(LONG line, LONG* next) override {
        ENTER("NextBookmark");
        if (!next) return E_POINTER;
        *next = doc_->text.NextBookmark(line);
        return S_OK;
    }

protected:
    long Kind() const override { return kTextDoc; }

private:
    static HRESULT Sel(const char* op, LONG* out, long value) {
        ENTER(op);
        if (!out) return E_POINTER;
        *out = value;
        return S_OK;
    }
};

// The host defines no interface id for its multi-page documents: the object answers only
// ICfgDoc, and callers reach GetPage and GetActivePage at slots 18 and 19 of that pointer.
class MultiPageDocObject final : public DocumentBase<IMultiPageDoc> {
public:
    explicit MultiPageDocObject(Document* d) : DocumentBase(IID_ICfgDoc, d) {}
    HRESULT STDMETHODCALLTYPE Reserved15() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved16() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved17() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPage(VARIANT index, ICfgDoc** page) override {
        ENTER("GetPage");
        if (!page) return E_POINTER;
        *page = nullptr;
        long i = 0;
        if (FAILED(ToLong(index, i))) return DISP_E_TYPEMISMATCH;
        if (i != 1) return E_INVALIDARG;  // only the module page is simulated
        if (doc_->page1Kind == kTextDoc)
            *page = new TextDocObject(doc_);
        else
            *page = new OtherDocumentObject(doc_, doc_->page1Kind);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetActivePage(VARIANT* index) override {
        ENTER("GetActivePage");
        if (!index) return E_POINTER;
        VariantInit(index);
        index->vt = VT_I4;
        index->lVal = doc_->activePage;
        return S_OK;
    }
};

}  // namespace

ITextDoc* NewTextDocument(Document* doc) { return new TextDocObject(doc); }

ICfgDoc* NewDocumentObject(Document* doc) {
    switch (doc->kind) {
        case kTextDoc: return new TextDocObject(doc);
        case kMultiPageDoc: return new MultiPageDocObject(doc);
        default: return new OtherDocumentObject(doc, doc->kind);
    }
}

ICfgWindow* Simulator::WindowObject(HWND window) { return window ? new cfgsim::WindowObject(window) : nullptr; }

// ---- the configurator ----

HRESULT ConfiguratorObject::GetWorkFolder(BSTR* folder) {
    ENTER("GetWorkFolder");
    if (!folder) return E_POINTER;
    *folder = ToBstr(Simulator::Get().workFolder);
    return S_OK;
}

HRESULT ConfiguratorObject::ShowMessageLine(BSTR text, LONG kind) {
    ENTER("ShowMessageLine");
    const std::wstring line(text ? text : L"", text ? SysStringLen(text) : 0);
    Simulator::Get().messageLines.push_back(line);
    Simulator::Get().Log(L"message line (" + std::to_wstring(kind) + L"): " + line);
    return S_OK;
}

HRESULT ConfiguratorObject::RunCommand(LONG command) {
    ENTER("RunCommand");
    Simulator::Get().commands.push_back(command);
    Simulator::Get().Log(L"command " + std::to_wstring(command));
    return S_OK;
}

HRESULT ConfiguratorObject::GetPluginList(IPluginList** plugins) {
    ENTER("GetPluginList");
    if (!plugins) return E_POINTER;
    *plugins = new PluginListObject();
    return S_OK;
}

HRESULT ConfiguratorObject::GetWindowList(ICfgWindowList** windows) {
    ENTER("GetWindowList");
    if (!windows) return E_POINTER;
    *windows = new WindowListObject();
    return S_OK;
}

HRESULT ConfiguratorObject::GetConfigWindow(IMDWindow** wnd) {
    ENTER("GetConfigWindow");
    if (!wnd) return E_POINTER;
    *wnd = new MDWindowObject();
    return S_OK;
}

HRESULT ConfiguratorObject::FindConnectionPoint(REFIID riid, IConnectionPoint** cp) {
    if (!cp) return E_POINTER;
    *cp = nullptr;
    if (riid != DIID_IConfigEvents) return CONNECT_E_NOCONNECTION;
    *cp = &events;
    events.AddRef();
    return S_OK;
}

HRESULT TelepatObject::FindConnectionPoint(REFIID riid, IConnectionPoint** cp) {
    if (!cp) return E_POINTER;
    *cp = nullptr;
    if (riid != DIID_DTelepatEvents) return CONNECT_E_NOCONNECTION;
    *cp = &events;
    events.AddRef();
    return S_OK;
}

HRESULT TelepatObject::FireInsert(long type, const std::wstring& name, const std::wstring& text) {
    VARIANT t, n, x;
    VariantInit(&t);
    VariantInit(&n);
    VariantInit(&x);
    t.vt = VT_I4;
    t.lVal = type;
    n.vt = VT_BSTR;
    n.bstrVal = ToBstr(name);
    x.vt = VT_BSTR;
    x.bstrVal = ToBstr(text);
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.pvarVal = &x;
    const HRESULT hr = events.Fire(4, {t, n, ref});
    VariantClear(&n);
    VariantClear(&x);
    return hr;
}

}  // namespace cfgsim
