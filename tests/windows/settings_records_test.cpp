// Display settings read from the registry, and the per-window records.
#include <gtest/gtest.h>

#include "win/module.h"
#include "host/records.h"
#include "render/measure_canvas.h"
#include "text/cp1251.h"

using namespace tintmark;

namespace {
const wchar_t kRoot[] = L"Software\\1C\\1Cv7\\7.7\\Options";

// Puts the registry values of one case in place and removes them afterwards.
struct RegistryCase {
    RegistryCase() { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot); }
    ~RegistryCase() { RegDeleteTreeW(HKEY_CURRENT_USER, kRoot); }
    void String(const wchar_t* sub, const wchar_t* name, const wchar_t* value) {
        const std::wstring key = std::wstring(kRoot) + L"\\" + sub;
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, value,
                        static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    }
    void Dword(const wchar_t* sub, const wchar_t* name, DWORD value) {
        const std::wstring key = std::wstring(kRoot) + L"\\" + sub;
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof value);
    }
    ConfiguratorSettings settings;
    std::optional<MeasureCanvas> canvas;
    DisplayMetrics metrics;
    void Read() { ReadDisplaySettings(settings, canvas, metrics); }
};

SIZE BlankOf(const FontSpec& f) { return MeasureCanvas(f).TextExtent(L" ", 1); }

// A top-level window of the test's own class, standing in for a configurator window.
HWND HostWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TestHostWindow";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"TestHostWindow", L"cfg", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                           wc.hInstance, nullptr);
}
}  // namespace

TEST(ReadDisplaySettings, NoKeysGiveTheDefaults) {
    RegistryCase r;
    r.Read();
    EXPECT_EQ(r.settings.Font.Name, "Courier");
    EXPECT_EQ(r.settings.Font.Height, -13);
    EXPECT_FALSE(r.settings.Font.Bold || r.settings.Font.Italic);
    EXPECT_EQ(r.settings.TabSize, 4);
    EXPECT_EQ(r.settings.KeywordColor, 255);
    EXPECT_EQ(r.settings.OperatorColor, 255);
    EXPECT_EQ(r.settings.BackgroundColor, 0xFFFFFF);
    EXPECT_EQ(r.settings.DefaultBookMarkColor, 0xFF0000);
    const SIZE blank = BlankOf(FontSpec{});
    EXPECT_EQ(r.metrics.CharWidth, blank.cx);
    EXPECT_EQ(r.metrics.LineHeight, blank.cy);
    EXPECT_EQ(r.metrics.TabWidth, 4 * blank.cx);
    EXPECT_GT(blank.cy, 0);
}

TEST(ReadDisplaySettings, ValuesTakenAndGarbageIgnoredValueByValue) {
    struct Row {
        const wchar_t* back;
        const wchar_t* tab;
        Colour wantBack;
        int32_t wantTab;
    };
    const Row rows[] = {
        {L"-1", L"8", static_cast<Colour>(GetSysColor(COLOR_WINDOW)), 8},
        {L"-2", L"-3", 0xFFFFFF, 4},
        {L"-5", L"0", -5, 4},
        {L"12632256", L"junk", 12632256, 4},
        {L"", L"2", 0xFFFFFF, 2},
        {L"", L"64", 0xFFFFFF, 64},
        {L"", L"2147483647", 0xFFFFFF, 4},  // x CharWidth would not fit 32 bits
        {L"", L"65", 0xFFFFFF, 4},
    };
    for (const auto& row : rows) {
        RegistryCase r;
        r.String(L"Modules", L"SCBack", row.back);
        r.String(L"Modules", L"TabSize", row.tab);
        r.String(L"Modules", L"SCKey", L"8388608");
        r.Dword(L"Modules", L"SCOper", 5);  // not a string: ignored
        r.String(L"Text", L"BookMarkColor", L"65280");
        r.Read();
        EXPECT_EQ(r.settings.BackgroundColor, row.wantBack) << row.back;
        EXPECT_EQ(r.settings.TabSize, row.wantTab) << row.tab;
        EXPECT_EQ(r.metrics.TabWidth, row.wantTab * r.metrics.CharWidth);
        EXPECT_EQ(r.settings.KeywordColor, 8388608);
        EXPECT_EQ(r.settings.OperatorColor, 255);
        EXPECT_EQ(r.settings.DefaultBookMarkColor, 65280);
    }
}

TEST(ReadDisplaySettings, FontFromBLang) {
    {
        RegistryCase r;
        r.String(L"Fonts", L"BLang", L"Arial,-20,1,700");
        r.Read();
        EXPECT_EQ(r.settings.Font.Name, "Arial");
        EXPECT_EQ(r.settings.Font.Height, -20);
        EXPECT_TRUE(r.settings.Font.Bold);
        EXPECT_TRUE(r.settings.Font.Italic);
        EXPECT_EQ(r.metrics.LineHeight, BlankOf(r.settings.Font).cy);
    }
    {
        RegistryCase r;
        r.Dword(L"Fonts", L"BLang", 700);  // not a string: the defaults stay, Init goes on
        r.Read();
        EXPECT_EQ(r.settings.Font.Name, "Courier");
        EXPECT_EQ(r.settings.Font.Height, -13);
    }
}

// Widths summed per character are what measuring the whole string gives, in fixed-pitch and
// proportional faces, regular and bold.
TEST(MeasureCanvas, CharacterSumsEqualWholeStringExtents) {
    const char* lines[] = {"Процедура ЗаписатьВЖурнал(Текст) Экспорт", "  Если А(Б) <> \"строка\" Тогда // ёЁ",
                           "WriteLine(\"x\"); ЖжЩщЪъЫыЭэЮюЯя№", "КонецЕсли;;;   iIlLmMwW"};
    for (const char* face : {"DejaVu Sans Mono", "DejaVu Sans", "Courier New"})
        for (bool bold : {false, true}) {
            FontSpec font;
            font.Name = face;
            font.Height = -13;
            font.Bold = bold;
            MeasureCanvas canvas(font);
            for (const char* utf8 : lines) {
                const std::string text = Utf8To1251(utf8);
                const std::u16string wide = Decode1251(text);
                const SIZE whole = canvas.TextExtent(reinterpret_cast<const wchar_t*>(wide.data()), static_cast<int>(wide.size()));
                EXPECT_EQ(canvas.Width1251(text), whole.cx) << face << (bold ? " bold: " : ": ") << utf8;
            }
        }
}

TEST(Records, AttachLookUpAndReleaseWithTheHostWindow) {
    HWND cfg = HostWindow();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND editor = CreateWindowExW(0, L"TestHostWindow", L"editor", WS_CHILD, 0, 0, 100, 100, cfg, nullptr,
                                  instance, nullptr);
    HWND other = CreateWindowExW(0, L"TestHostWindow", L"", WS_CHILD, 0, 0, 1, 1, editor, nullptr, instance,
                                 nullptr);
    SetWindowLongPtrW(other, GWLP_USERDATA, 1234);
    ASSERT_TRUE(cfg && editor && other);

    EXPECT_EQ(FindCfgWndData(cfg), nullptr);
    EXPECT_EQ(FindEditorData(editor), nullptr);  // first child is not ours: no state

    const bool unloadableBefore = ModuleCanUnload();
    TCfgWndData* data = CreateCfgWndData(cfg);
    EXPECT_EQ(FindCfgWndData(cfg), data);
    EXPECT_FALSE(data->HasFoldedBlocks());
    data->FoldedBlocks[Utf8To1251("Проц")] = {u"a"};
    data->FoldedBlocks[Utf8To1251("ПРОЦ")] = {u"b"};  // names compare without case: no duplicate
    EXPECT_EQ(data->FoldedBlocks.size(), 1u);
    EXPECT_TRUE(data->HasFoldedBlocks());

    TEditorData* marker = CreateEditorData(editor, data);
    EXPECT_EQ(GetWindow(editor, GW_CHILD), marker->Handle);
    EXPECT_EQ(FindEditorData(editor), marker);
    EXPECT_EQ(CfgWndDataOfEditor(editor), data);
    EXPECT_FALSE(ModuleCanUnload());

    DestroyWindow(cfg);  // the records go with their windows
    EXPECT_EQ(ModuleCanUnload(), unloadableBefore);
}

TEST(Records, TheLiveCountNeverGoesBelowZero) {
    ASSERT_TRUE(ModuleCanUnload());
    HWND host = HostWindow();
    ASSERT_TRUE(host);
    // Registers both classes; each record is counted and released again.
    DestroyWindow(CreateCfgWndData(host)->Handle);
    DestroyWindow(CreateEditorData(host, nullptr)->Handle);
    ASSERT_TRUE(ModuleCanUnload());

    // A record window destroyed before its record was attached (creation failing half-way)
    // releases nothing; nor does a release at zero.
    for (const wchar_t* cls : {kCfgWndDataClass, kEditorDataClass}) {
        HWND bare = CreateWindowExW(0, cls, L"", WS_CHILD, 0, 0, 0, 0, host, nullptr, ModuleHandle(), nullptr);
        ASSERT_TRUE(bare);
        DestroyWindow(bare);
    }
    EXPECT_TRUE(ModuleCanUnload());
    ModuleRelease();
    ModuleAddRef();  // one live object: the count must say so
    EXPECT_FALSE(ModuleCanUnload());
    ModuleRelease();
    EXPECT_TRUE(ModuleCanUnload());
    DestroyWindow(host);
}

TEST(Records, TheirModuleStaysMappedWhileARecordWindowExists) {
    HMODULE probe = LoadLibraryW(L"record_probe.dll");
    ASSERT_NE(probe, nullptr);
    using CreateFn = HWND(*)(HWND);
    auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(probe, "CreateProbeRecord")));
    ASSERT_NE(create, nullptr);
    HWND host = HostWindow();
    HWND record = create(host);
    ASSERT_NE(record, nullptr);

    FreeLibrary(probe);  // a host that frees the library without asking DllCanUnloadNow
    HMODULE still = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, L"record_probe.dll", &still))
        << "the module went while its record window exists";
    EXPECT_EQ(still, probe);
    EXPECT_EQ(SendMessageW(record, WM_NULL, 0, 0), 0);  // its window procedure still answers
    DestroyWindow(host);
    EXPECT_FALSE(IsWindow(record));
}
