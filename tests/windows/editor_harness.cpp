// The in-process simulated configurator with the plugin object attached.
#include "editor_harness.h"

#include <fstream>
#include <iterator>

#include "../corpus_module.h"
#include "host/records.h"
#include "editor_window.h"
#include "options.h"
#include "text/cp1251.h"

namespace tintmark::test {

namespace {
std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH];
    GetTempPathW(MAX_PATH, buffer);
    std::wstring folder = std::wstring(buffer) + L"tintmark-editor-tests\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}
}  // namespace

std::u16string U(const char* utf8) { return Decode1251(Utf8To1251(utf8)); }

std::string ReadBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string out;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
    CloseHandle(h);
    return out;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

std::u16string CorpusModule(const std::string& fileName) {
    return ReadCorpusModule(std::filesystem::u8path(TINTMARK_CORPUS_DIR) / std::filesystem::u8path(fileName));
}

void EditorHarness::SetUpTestSuite() {
    cfgsim::Simulator& s = cfgsim::Simulator::Get();
    if (s.mainWindow) return;
    s.workFolder = TempFolder();
    cfgsim::WriteDefaultOptions();
    s.configurator = new cfgsim::ConfiguratorObject();
    s.telepat = new cfgsim::TelepatObject();
    cfgsim::InstallMessageBoxCapture();
    ASSERT_TRUE(cfgsim::CreateMainWindows(true));
}

void EditorHarness::SetUp() {
    RemoveStateFiles();
    sim.faults.clear();
    sim.messageLines.clear();
    sim.messageBoxes.clear();
    plugin = ComPtr<TTintmarkPlugin>(new TTintmarkPlugin(), false);
    BSTR name = nullptr;
    ASSERT_EQ(plugin->Init(sim.configurator, &name), S_OK);
    SysFreeString(name);
    sim.FireConfigWindowCreate();
}

void EditorHarness::TearDown() {
    CloseAll();
    plugin->Done();
    plugin.reset();
    cfgsim::Pump();
}

cfgsim::Document* EditorHarness::Open(const std::wstring& name, const std::u16string& text) {
    cfgsim::Document* d = cfgsim::OpenDocument(name, cfgsim::kTextDoc, 0, L"C:\\Work\\" + name, text);
    SetFocus(d->editor);
    cfgsim::Pump();
    return d;
}

void EditorHarness::CloseAll() {
    for (auto& d : sim.documents)
        if (d->window && IsWindow(d->window)) SendMessageW(sim.mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(d->window), 0);
    sim.documents.clear();
    cfgsim::Pump();
}

void EditorHarness::GutterClick(cfgsim::Document* d, int line) {
    POINT p = cfgsim::EditorPointOf(d->editor, line, 0);
    p.x = 4;
    SendMessageW(d->editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(d->editor, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    cfgsim::Pump();
}

std::vector<std::wstring> EditorHarness::StateFiles() const {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((sim.workFolder + L"Tintmark_Temp\\*.txt").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do out.push_back(fd.cFileName);
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

void EditorHarness::RemoveStateFiles() const {
    for (const auto& f : StateFiles()) DeleteFileW((sim.workFolder + L"Tintmark_Temp\\" + f).c_str());
}

TCfgWndData* EditorHarness::Record(cfgsim::Document* d) const { return FindCfgWndData(d->window); }

}  // namespace tintmark::test
