// TMenuStylerManager: the one object per process that outlives single stylers: the hook on
// the application window, the registered stylers, the themed and the waiting forms, and the
// flat frame of popup menu windows.
#pragma once

#include <windows.h>

#include <vector>

namespace tintmark::menus {

class TForm;
class TMenuItem;
class TMenuStyler;

// Unregisters the window class of the manager's own application window (module unload).
void UnregisterMenuClasses();

// Private messages to the application window.
constexpr UINT MsgFlatFrameByItem = 48307;    // lParam: the menu item
constexpr UINT MsgFlatFrameByWindow = 48308;  // wParam: right-to-left, lParam: the menu window

class TMenuStylerManager {
public:
    static TMenuStylerManager* Instance();
    static void Create();
    // Frees the manager when no styler is registered.
    static void FreeIfUnused();

    // The application window: the manager's own hidden window, or the one given.
    HWND ApplicationWindow() const { return appWindow_; }
    void SetApplicationWindow(HWND window);

    void Register(TMenuStyler& styler);
    void Unregister(TMenuStyler& styler);
    void SubclassingChanging(TMenuStyler& styler);
    void FormCreated(TForm& form);
    void FormDestroyed(TForm& form);

    TMenuStyler* Theming() const { return theming_; }
    const std::vector<TMenuStyler*>& Registered() const { return registered_; }
    const std::vector<TForm*>& ThemedForms() const { return themed_; }
    const std::vector<TForm*>& QueuedForms() const { return queued_; }

    // Handles the private messages and themes the waiting forms (what every message to the
    // application window does). Errors are swallowed.
    void OnApplicationMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Gives a popup menu window the flat frame and shadow, in the colours of the styler
    // that last asked for a frame.
    void FlatFrame(HWND menuWindow, bool rightToLeft);
    void SetFramer(TMenuStyler* styler) { framer_ = styler; }

private:
    TMenuStylerManager();
    ~TMenuStylerManager();
    static LRESULT CALLBACK AppHook(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK MenuWindowHook(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    TMenuStyler* Eligible(const TMenuStyler* except) const;
    void HandOver(TMenuStyler& from, TForm* departing);
    void QueueUnthemedForms();
    void ProcessQueue();
    void Restore(TForm& form);

    HWND ownWindow_ = nullptr;
    HWND appWindow_ = nullptr;
    std::vector<TMenuStyler*> registered_;
    std::vector<TForm*> themed_;
    std::vector<TForm*> queued_;
    TMenuStyler* theming_ = nullptr;
    TMenuStyler* framer_ = nullptr;
    bool framing_ = false;
};

}  // namespace tintmark::menus
