// Close and quit guards: a window holding folded methods stays open until they are unfolded.
#include "hook/close_guards.h"

#include "win/com_error.h"
#include "host/host.h"
#include "hook/plugin_state.h"
#include "host/records.h"
#include "hook/folding_commands.h"

namespace tintmark {

namespace {

const wchar_t kCaption[] = L"Tintmark";

bool HoldsFoldedBlocks(HWND cfgWindow) {
    const TCfgWndData* record = FindCfgWndData(cfgWindow);
    return record && record->HasFoldedBlocks();
}

// The first configurator window, in the host's window order, that holds folded methods.
HWND FirstWindowWithFoldedBlocksByHost(IConfigurator* cfg) {
    ComPtr<ICfgWindowList> list = host::GetWindowList(cfg);
    for (ComPtr<ICfgWindow> w = host::GetFirstCfgWindow(list.get()); w;
         w = host::GetNextCfgWindow(list.get(), w.get())) {
        const HWND h = host::GetWindowHandle(w.get());
        if (HoldsFoldedBlocks(h)) return h;
    }
    return nullptr;
}

// The first window whose record holds folded methods, by the records alone.
HWND FirstWindowWithFoldedBlocksByRecords() {
    for (const TCfgWndData* r : AllCfgWndData())
        if (r->HasFoldedBlocks()) return GetParent(r->Handle);
    return nullptr;
}

// When the host cannot list its windows, our own records still tell: a failing host call
// must never let folded text go unprotected.
HWND FirstWindowWithFoldedBlocks(PluginState& p) {
    try {
        if (p.Configurator) return FirstWindowWithFoldedBlocksByHost(p.Configurator.get());
    } catch (const ComError& e) {
        p.ReportFailure(e.message());
    }
    return FirstWindowWithFoldedBlocksByRecords();
}

const wchar_t kConfigurationText[] =
    L"ВНИМАНИЕ!\r\nОбнаружены открытые окна со свернутыми процедурами.\r\nПеред закрытием конфигурации необходимо их развернуть!";
const wchar_t kWindowText[] = L"ВНИМАНИЕ!\r\nПеред закрытием окна необходимо развернуть все процедуры модуля!";

HWND MainWindow(PluginState& p, HWND inside) {
    try {
        if (p.Configurator) return host::GetMainWindowHandle(p.Configurator.get());
    } catch (const ComError& e) {
        p.ReportFailure(e.message());
    }
    return p.MainWindowHandle ? p.MainWindowHandle : GetAncestor(inside, GA_ROOT);
}

// While any window holds folded methods: tells the user and brings the first such window to
// the front. Returns whether one does.
bool WarnAboutFoldedWindows(PluginState& p, const wchar_t* text) {
    for (TCfgWndData* r : AllCfgWndData()) ReadoptUndoneFolds(p, *r);
    const HWND w = FirstWindowWithFoldedBlocks(p);
    if (!w) return false;
    MessageBoxW(MainWindow(p, w), text, kCaption, MB_ICONWARNING | MB_OK);
    SendMessageW(GetParent(w), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w), 0);
    return true;
}

}  // namespace

bool RefuseConfigurationClose(PluginState& p) {
    return WarnAboutFoldedWindows(p, kConfigurationText);
}

bool RefuseWindowClose(PluginState& p, HWND cfgWindow) {
    if (TCfgWndData* r = FindCfgWndData(cfgWindow)) ReadoptUndoneFolds(p, *r);
    if (!HoldsFoldedBlocks(cfgWindow)) return false;
    MessageBoxW(MainWindow(p, cfgWindow), kWindowText, kCaption, MB_ICONWARNING | MB_OK);
    return true;
}

bool RefuseConfigurationCloseUnattended(HWND configWindow) noexcept {
    const HWND w = FirstWindowWithFoldedBlocksByRecords();
    if (!w) return false;
    MessageBoxW(GetAncestor(configWindow, GA_ROOT), kConfigurationText, kCaption, MB_ICONWARNING | MB_OK);
    SendMessageW(GetParent(w), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w), 0);
    return true;
}

bool RefuseWindowCloseUnattended(HWND cfgWindow) noexcept {
    if (!HoldsFoldedBlocks(cfgWindow)) return false;
    MessageBoxW(GetAncestor(cfgWindow, GA_ROOT), kWindowText, kCaption, MB_ICONWARNING | MB_OK);
    return true;
}

bool RefuseQuit(PluginState& p) {
    return WarnAboutFoldedWindows(p, L"Внимание!\r\nОбнаружены открытые окна со свернутыми процедурами.\r\n"
                                     L"Перед выходом необходимо их развернуть.");
}

}  // namespace tintmark
