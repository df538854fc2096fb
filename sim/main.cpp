// cfgsim: the configurator simulator.
//   cfgsim [--script FILE] [--work DIR] [--load PROGID]... [--hidden] [--no-default-options]
//          [--utf8] [--margin N] [--lines-past-end] [MODULE...]
// With a script it runs the script and exits with its status; with module files and no script
// it opens them and runs until the window is closed.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frame.h"
#include "host_objects.h"
#include "options.h"
#include "pump.h"
#include "script.h"
#include "simulator.h"

using namespace cfgsim;

namespace {

std::string ReadAll(const std::wstring& path) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    std::string data;
    if (!f) return data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
    std::fclose(f);
    return data;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: cfgsim [--script FILE] [--work DIR] [--load PROGID]... [--hidden]\n"
                 "              [--no-default-options] [--utf8] [--margin N] [--lines-past-end] [MODULE...]\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring script, work;
    std::vector<std::wstring> loads, modules;
    bool hidden = false, defaults = true, utf8 = false;
    Simulator& sim = Simulator::Get();
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--script" && i + 1 < argc) script = argv[++i];
        else if (a == L"--work" && i + 1 < argc) work = argv[++i];
        else if (a == L"--load" && i + 1 < argc) loads.push_back(argv[++i]);
        else if (a == L"--hidden") hidden = true;
        else if (a == L"--no-default-options") defaults = false;
        else if (a == L"--utf8") utf8 = true;
        else if (a == L"--margin" && i + 1 < argc) sim.editor.margin = _wtoi(argv[++i]);
        else if (a == L"--lines-past-end") sim.editor.linesPastEnd = true;
        else if (a.rfind(L"--", 0) == 0) return Usage();
        else modules.push_back(a);
    }
    if (script.empty() && modules.empty()) return Usage();

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (work.empty()) {
        wchar_t cwd[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, cwd);
        work = std::wstring(cwd) + L"\\cfgsim-work";
    }
    CreateDirectoryW(work.c_str(), nullptr);
    sim.workFolder = work + (work.back() == L'\\' ? L"" : L"\\");
    if (defaults) WriteDefaultOptions();

    sim.configurator = new ConfiguratorObject();
    sim.telepat = new TelepatObject();
    InstallMessageBoxCapture();
    if (!CreateMainWindows(!hidden)) {
        std::fprintf(stderr, "cfgsim: cannot create the windows\n");
        return 1;
    }
    for (const auto& p : loads) sim.LoadPlugin(p);

    int rc = 0;
    if (!script.empty()) {
        rc = RunScript(script);
        if (IsWindow(sim.mainWindow)) {
            sim.UnloadPlugins();
            DestroyWindow(sim.mainWindow);
        }
        Pump();
    } else {
        sim.FireConfigWindowCreate();
        for (const auto& m : modules) {
            const size_t slash = m.find_last_of(L"\\/");
            OpenDocument(slash == std::wstring::npos ? m : m.substr(slash + 1), kTextDoc, 0, m,
                         DecodeModule(ReadAll(m), utf8));
        }
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (!TranslateMDISysAccel(sim.mdiClient, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    sim.UnloadPlugins();
    sim.telepat->Release();
    sim.configurator->Release();
    CoUninitialize();
    return rc;
}
