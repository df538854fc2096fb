// Event handlers: each runs inside the boundary, so a failure is reported and the host's
// event call still succeeds.
#include "plugin/host_events.h"

#include "host/host.h"
#include "plugin/plugin.h"
#include "hook/activation.h"
#include "hook/close_guards.h"
#include "hook/guarded.h"
#include "hook/subclass.h"

namespace tintmark {

namespace {
const wchar_t kTelepatName[] = L"Телепат";
}

void HandleConfigWindowCreate(TTintmarkPlugin& p) {
    IConfigurator* cfg = p.Configurator.get();
    // Each step on its own: the close guard must not depend on the main window's handle.
    Guarded(p, [&] { p.MainWindowHandle = host::GetMainWindowHandle(cfg); });
    Guarded(p, [&] { HookWindow(host::GetConfigWindowHandle(cfg), HookKind::ConfigWindow); });
    if (p.TelepatTried) return;
    p.TelepatTried = true;
    // The other plugin is optional: every failure here only means it is not there.
    try {
        auto sink = std::make_unique<TTELEPATLibDTelepatEvents>();
        sink->OnInsert = [&p](TEventsBaseSink&, LONG, const std::wstring&, VARIANT*) { p.TelepatInserted = true; };
        p.TelepatEvents = std::move(sink);
        ComPtr<IDispatch> telepat = host::PluginByName(cfg, kTelepatName);
        p.TelepatEvents->Connect(telepat.get());
    } catch (...) {
    }
}

void AttachEventHandlers(TTintmarkPlugin& p) {
    TOpenConfIConfigEvents& events = *p.ConfigEvents;
    events.OnConfigWindowCreate = [&p](TEventsBaseSink&) { Guarded(p, [&] { HandleConfigWindowCreate(p); }); };
    events.OnActivateWindow = [&p](TEventsBaseSink&, ICfgWindow* wnd, VARIANT_BOOL active) {
        Guarded(p, [&] { HandleActivateWindow(p, wnd, active != VARIANT_FALSE); });
    };
    events.OnQueryQuit = [&p](TEventsBaseSink&) {
        bool refuse = false;
        Guarded(p, [&] { refuse = RefuseQuit(p); });
        return refuse ? VARIANT_TRUE : VARIANT_FALSE;
    };
}

}  // namespace tintmark
