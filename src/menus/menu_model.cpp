// The menu framework on Win32: building HMENUs from items, routing owner-draw messages to
// the items' handlers, image lists and the list of forms.
#include "menus/menu_model.h"

#include <algorithm>

#include "win/handles.h"
#include "menus/menu_styler.h"
#include "menus/styler_manager.h"

namespace tintmark::menus {

namespace {
constexpr UINT_PTR kFormSubclassId = 0x544D4B46;  // "TMKF"
const wchar_t kTagProperty[] = L"TintmarkTag";
UINT g_nextCommand = 1000;

std::vector<TForm*>& Forms() {
    static std::vector<TForm*> forms;
    return forms;
}

// Reads a bitmap's pixels as 32-bit colours (top-down).
Pixels ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> bgra(static_cast<size_t>(width) * static_cast<size_t>(height));
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bgra.data(), &bi, DIB_RGB_COLORS);
    Pixels p;
    p.Width = width;
    p.Height = height;
    p.Colour.resize(bgra.size());
    for (size_t i = 0; i < bgra.size(); ++i) {
        const uint32_t v = bgra[i];
        p.Colour[i] = MakeRgb(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
    }
    p.Opaque.assign(p.Colour.size(), 1);
    return p;
}
}  // namespace

// ---- images ----

ImageList::ImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4)), width_(width), height_(height) {}

ImageList::~ImageList() {
    if (list_) ImageList_Destroy(list_);
}

int ImageList::Add(HBITMAP bitmap) {
    const Pixels p = BitmapPixels(bitmap);
    const Rgb bg = p.Height > 0 ? p.At(0, p.Height - 1) : 0;
    return ImageList_AddMasked(list_, bitmap, RGB(RedOf(bg), GreenOf(bg), BlueOf(bg)));
}

int ImageList::Count() const { return ImageList_GetImageCount(list_); }

Pixels ImageList::ImagePixels(int index) const {
    // Drawn once on black and once as a mask on white: the colours and what is painted.
    HDC screen = GetDC(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen));
    UniqueGdiObject bitmap(CreateCompatibleBitmap(screen, width_, height_));
    Pixels colours, mask;
    {
        SelectGuard select(dc.get(), bitmap.get());
        RECT all{0, 0, width_, height_};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ImageList_Draw(list_, index, dc.get(), 0, 0, ILD_NORMAL);
    }
    colours = ReadBitmap(screen, static_cast<HBITMAP>(bitmap.get()), width_, height_);
    {
        SelectGuard select(dc.get(), bitmap.get());
        RECT all{0, 0, width_, height_};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ImageList_Draw(list_, index, dc.get(), 0, 0, ILD_MASK);
    }
    mask = ReadBitmap(screen, static_cast<HBITMAP>(bitmap.get()), width_, height_);
    ReleaseDC(nullptr, screen);
    for (size_t i = 0; i < colours.Colour.size(); ++i) colours.Opaque[i] = mask.Colour[i] == 0 ? 1 : 0;
    return colours;
}

Pixels BitmapPixels(HBITMAP bitmap) {
    BITMAP bm{};
    GetObjectW(bitmap, sizeof bm, &bm);
    HDC screen = GetDC(nullptr);
    Pixels p = ReadBitmap(screen, bitmap, bm.bmWidth, bm.bmHeight);
    ReleaseDC(nullptr, screen);
    MaskByBottomLeft(p);
    return p;
}

// ---- items ----

TMenuItem& TMenuItem::Add(const std::wstring& caption, const std::wstring& shortCut) {
    auto item = std::make_unique<TMenuItem>();
    item->Caption = caption;
    item->ShortCut = shortCut;
    item->Parent = this;
    item->Menu = Menu;
    item->command_ = g_nextCommand++;
    Items.push_back(std::move(item));
    TMenuItem& added = *Items.back();
    if (Menu) Menu->Owner.Notify(added);
    return added;
}

bool TMenuItem::IsSeparator() const { return Caption == L"-"; }

bool TMenuItem::IsBarItem() const {
    return Menu && Menu->MenuKind == TMenu::Kind::Main && Parent == &Menu->Items;
}

bool TMenuItem::RightToLeft() const { return Menu && Menu->RightToLeft; }

HMENU TMenuItem::ParentHandle() const {
    if (!Parent) return nullptr;
    return Parent->Parent ? Parent->subMenu_ : (Menu ? Menu->Handle() : nullptr);
}

UINT TMenuItem::Position() const {
    if (!Parent) return 0;
    for (size_t i = 0; i < Parent->Items.size(); ++i)
        if (Parent->Items[i].get() == this) return static_cast<UINT>(i);
    return 0;
}

void TMenuItem::SetPainter(ItemPainter* painter) {
    painter_ = painter;
    const HMENU menu = ParentHandle();
    if (!menu) return;
    std::wstring text;
    MENUITEMINFOW info = ItemInfo(*this, text);
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    SetMenuItemInfoW(menu, Position(), TRUE, &info);
}

RECT TMenuItem::ScreenRect() const {
    RECT r{};
    const HMENU menu = ParentHandle();
    if (menu && Menu) GetMenuItemRect(IsBarItem() ? Menu->Owner.Handle() : nullptr, menu, Position(), &r);
    return r;
}

MENUITEMINFOW ItemInfo(const TMenuItem& item, std::wstring& text) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_DATA;
    text = item.Caption;
    if (!item.ShortCut.empty()) text += L"\t" + item.ShortCut;
    if (item.IsSeparator()) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fType = MFT_STRING;
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
    }
    if (item.Painter()) info.fType |= MFT_OWNERDRAW;
    if (item.RadioItem) info.fType |= MFT_RADIOCHECK;
    if (item.RightToLeft()) info.fType |= MFT_RIGHTORDER;
    info.fState = (item.Checked ? MFS_CHECKED : 0) | (item.Enabled ? 0 : MFS_GRAYED) | (item.Default ? MFS_DEFAULT : 0);
    info.wID = item.Command();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    return info;
}

// ---- menus ----

TMenu::TMenu(TForm& owner, Kind kind) : Owner(owner), MenuKind(kind) {
    Items.Menu = this;
    owner.menus_.push_back(this);
}

TMenu::~TMenu() {
    auto& list = Owner.menus_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (MenuKind == Kind::Main && handle_ && GetMenu(Owner.Handle()) == handle_) SetMenu(Owner.Handle(), nullptr);
    Destroy();
}

HMENU TMenu::Handle() {
    if (!handle_) {
        handle_ = MenuKind == Kind::Main ? CreateMenu() : CreatePopupMenu();
        Build(Items, handle_);
        if (MenuKind == Kind::Main) SetMenu(Owner.Handle(), handle_);
    }
    return handle_;
}

void TMenu::Rebuild() {
    const bool wasBar = MenuKind == Kind::Main && handle_ && GetMenu(Owner.Handle()) == handle_;
    if (wasBar) SetMenu(Owner.Handle(), nullptr);
    Destroy();
    Handle();
}

void TMenu::Destroy() {
    if (handle_) DestroyMenu(handle_);  // sub-menus go with it
    handle_ = nullptr;
    ForEachItem([](TMenuItem& item) { item.subMenu_ = nullptr; });
}

void TMenu::Build(TMenuItem& parent, HMENU into) {
    UINT position = 0;
    for (auto& child : parent.Items) {
        child->Menu = this;
        std::wstring text;
        MENUITEMINFOW info = ItemInfo(*child, text);
        if (!child->Items.empty()) {
            child->subMenu_ = CreatePopupMenu();
            Build(*child, child->subMenu_);
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = child->subMenu_;
        }
        InsertMenuItemW(into, position++, TRUE, &info);
    }
}

UINT TMenu::Popup(int x, int y) {
    UINT flags = TPM_RETURNCMD | TPM_LEFTBUTTON | (RightToLeft ? TPM_RIGHTALIGN | TPM_LAYOUTRTL : TPM_LEFTALIGN);
    return static_cast<UINT>(TrackPopupMenuEx(Handle(), flags, x, y, Owner.Handle(), nullptr));
}

// ---- forms ----

TForm::TForm(HWND window) : window_(window) {
    Forms().push_back(this);
    SetWindowSubclass(window_, &TForm::Subclass, kFormSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (auto* manager = TMenuStylerManager::Instance()) manager->FormCreated(*this);
}

TForm::~TForm() {
    if (auto* manager = TMenuStylerManager::Instance()) manager->FormDestroyed(*this);
    RemoveWindowSubclass(window_, &TForm::Subclass, kFormSubclassId);
    auto& forms = Forms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

TMenu* TForm::MainMenu() const {
    for (TMenu* m : menus_)
        if (m->MenuKind == TMenu::Kind::Main) return m;
    return nullptr;
}

void TForm::Loaded() {
    const auto stylers = stylers_;
    for (TMenuStyler* s : stylers) s->Loaded();
}

void TForm::Notify(TMenuItem& added) {
    for (TMenuStyler* s : stylers_) s->Notification(added);
}

const std::vector<TForm*>& TForm::Screen() { return Forms(); }

TForm* TForm::FromHandle(HWND window) {
    for (TForm* f : Forms())
        if (f->window_ == window) return f;
    return nullptr;
}

LRESULT CALLBACK TForm::Subclass(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    // Owner-drawn menu items go to their own handlers; nothing thrown leaves here.
    try {
        if (msg == WM_MEASUREITEM && reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlType == ODT_MENU) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            auto* item = reinterpret_cast<TMenuItem*>(mis->itemData);
            if (item && item->Painter()) {
                HDC dc = GetDC(wnd);
                int w = static_cast<int>(mis->itemWidth), h = static_cast<int>(mis->itemHeight);
                item->Painter()->MeasureItem(*item, dc, w, h);
                ReleaseDC(wnd, dc);
                mis->itemWidth = static_cast<UINT>(std::max(0, w));
                mis->itemHeight = static_cast<UINT>(std::max(0, h));
                return TRUE;
            }
        } else if (msg == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlType == ODT_MENU) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            auto* item = reinterpret_cast<TMenuItem*>(dis->itemData);
            if (item && item->Painter()) {
                item->Painter()->DrawItem(*item, dis->hDC, dis->rcItem, dis->itemState);
                return TRUE;
            }
        }
    } catch (...) {
    }
    return DefSubclassProc(wnd, msg, wp, lp);
}

// ---- controls ----

int ControlTag(HWND control) { return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(control, kTagProperty))); }

void SetControlTag(HWND control, int tag) {
    if (tag == 0)
        RemovePropW(control, kTagProperty);
    else
        SetPropW(control, kTagProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(tag)));
}

std::string WindowClassName(HWND wnd) {
    wchar_t buffer[128];
    const int n = GetClassNameW(wnd, buffer, 128);
    std::string name;
    for (int i = 0; i < n; ++i) name += buffer[i] < 0x80 ? static_cast<char>(buffer[i]) : '?';
    return name;
}

}  // namespace tintmark::menus
