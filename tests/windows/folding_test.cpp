// Folding in the simulated configurator: round trips, state files, edits while folded, the
// guards, and every host call failing once at every position of each folding operation.
#include <functional>
#include <map>
#include <set>

#include "host/records.h"
#include "editor_harness.h"
#include "win/wide_text.h"
#include "text/cp1251.h"

using namespace tintmark;
using namespace tintmark::test;

namespace {

const char kModule[] =
    "Перем А;\r\n"
    "Процедура Первая()\r\n"
    "  Если А Тогда\r\n"
    "    А = 1;\r\n"
    "  КонецЕсли;\r\n"
    "КонецПроцедуры\r\n"
    "\r\n"
    "Функция Вторая(Б) Экспорт\r\n"
    "  Возврат Б;\r\n"
    "КонецФункции\r\n"
    "Процедура Третья()\r\n"
    "  Сообщить(\"(\");\r\n"
    "КонецПроцедуры";

std::multiset<std::u16string> LinesOf(const std::u16string& text) {
    std::multiset<std::u16string> out;
    for (auto& l : SplitLines(text)) out.insert(l);
    return out;
}

struct FoldingTest : EditorHarness {
    // Every line of original is in the document or kept in the window's folded list.
    void ExpectNothingLost(cfgsim::Document* d, const std::u16string& original) {
        std::multiset<std::u16string> have = LinesOf(Text(d));
        if (TCfgWndData* r = Record(d))
            for (const auto& [name, kept] : r->FoldedBlocks) have.insert(kept.begin(), kept.end());
        for (const auto& line : SplitLines(original)) ASSERT_TRUE(have.count(line)) << Cp1251ToUtf8(Encode1251(line));
    }
};

}  // namespace

TEST_F(FoldingTest, CollapseAndExpandWithStateFiles) {
    cfgsim::Document* d = Open(L"m.txt", U(kModule));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    EXPECT_EQ(Text(d), U("Перем А;\r\nПроцедура Первая()\r\nКонецПроцедуры\r\n\r\nФункция Вторая(Б) Экспорт\r\n"
                         "КонецФункции\r\nПроцедура Третья()\r\nКонецПроцедуры"));
    EXPECT_EQ(StateFiles().size(), 3u);
    ASSERT_TRUE(Record(d));
    EXPECT_EQ(Record(d)->FoldedBlocks.size(), 3u);
    // The file holds the kept lines in Windows-1251, each followed by CR LF.
    std::string content;
    {
        HANDLE h = CreateFileW((sim.workFolder + L"Tintmark_Temp\\C__Work_m.txt_вторая.txt").c_str(), GENERIC_READ, 0,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        char buf[256];
        DWORD n = 0;
        ReadFile(h, buf, sizeof buf, &n, nullptr);
        content.assign(buf, n);
        CloseHandle(h);
    }
    EXPECT_EQ(content, Utf8To1251("Функция Вторая(Б) Экспорт\r\n  Возврат Б;\r\nКонецФункции\r\n"));

    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_EQ(Text(d), U(kModule));
    EXPECT_TRUE(StateFiles().empty());
    EXPECT_FALSE(Record(d)->HasFoldedBlocks());
}

TEST_F(FoldingTest, GutterFoldsAndUnfoldsAndAnotherLineTogglesItsBookmark) {
    cfgsim::Document* d = Open(L"m.txt", U(kModule));
    GutterClick(d, 7);
    EXPECT_EQ(d->text.LineCount(), 12);
    EXPECT_EQ(StateFiles().size(), 1u);
    GutterClick(d, 7);
    EXPECT_EQ(Text(d), U(kModule));
    EXPECT_TRUE(StateFiles().empty());
    GutterClick(d, 3);
    EXPECT_TRUE(d->text.Bookmark(3));
    GutterClick(d, 3);
    EXPECT_FALSE(d->text.Bookmark(3));
    // A gutter fold then ExpandAll.
    GutterClick(d, 1);
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_EQ(Text(d), U(kModule));
}

TEST_F(FoldingTest, EditsWhileFoldedKeepEveryLine) {
    struct Case {
        const char* name;
        std::function<void(cfgsim::Document*)> edit;
    };
    const Case cases[] = {
        {"a line typed after the folded header",
         [](cfgsim::Document* d) { d->text.ReplaceRange({1, 18}, {1, 18}, u"\r\n  // мысль"); }},
        {"the folded header edited",
         [](cfgsim::Document* d) { d->text.ReplaceRange({1, 16}, {1, 18}, u"(Х) Экспорт"); }},
        {"the folded header deleted", [](cfgsim::Document* d) { d->text.ReplaceRange({1, 0}, {2, 0}, u""); }},
        {"a procedure of the same name added",
         [](cfgsim::Document* d) {
             const int last = d->text.LineCount() - 1;
             d->text.ReplaceRange({last, 14}, {last, 14}, U("\r\nПроцедура Первая()\r\n  Б = 2;\r\nКонецПроцедуры"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cfgsim::Document* d = Open(L"m.txt", U(kModule));
        ASSERT_EQ(plugin->CollapseAll(), S_OK);
        c.edit(d);
        const std::u16string edited = Text(d);
        ASSERT_EQ(plugin->ExpandAll(), S_OK);
        ExpectNothingLost(d, edited);
        // What is no longer in memory or the document is in a state file.
        std::multiset<std::u16string> have = LinesOf(Text(d));
        for (const auto& [n, kept] : Record(d)->FoldedBlocks) have.insert(kept.begin(), kept.end());
        std::multiset<std::u16string> onDisk;
        for (const auto& f : StateFiles()) {
            HANDLE h = CreateFileW((sim.workFolder + L"Tintmark_Temp\\" + f).c_str(), GENERIC_READ, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            char buf[4096];
            DWORD n = 0;
            ReadFile(h, buf, sizeof buf, &n, nullptr);
            CloseHandle(h);
            for (auto& l : SplitLines(Decode1251(std::string(buf, n)))) have.insert(l);
        }
        for (const auto& line : SplitLines(U(kModule))) {
            // The user's own edit replaced the header; every other line is somewhere.
            if (c.name == std::string("the folded header edited") && line == U("Процедура Первая()")) continue;
            EXPECT_TRUE(have.count(line)) << Cp1251ToUtf8(Encode1251(line));
        }
        CloseAll();
        RemoveStateFiles();
    }
}

// A state file left by an earlier session may hold the only copy of a body: folding a method
// of that name again keeps it under another name instead of overwriting it.
TEST_F(FoldingTest, AnEarlierStateFileIsKeptNotOverwritten) {
    const std::wstring folder = sim.workFolder + L"Tintmark_Temp\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string earlier = Utf8To1251("Функция Вторая(Б) Экспорт\r\n  Возврат Б * 2;\r\nКонецФункции\r\n");
    HANDLE h = CreateFileW((folder + L"C__Work_m.txt_вторая.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, earlier.data(), static_cast<DWORD>(earlier.size()), &n, nullptr);
    CloseHandle(h);
    Open(L"m.txt", U(kModule));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    std::string kept;
    h = CreateFileW((folder + L"C__Work_m.txt_вторая.1.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char buf[256];
    ReadFile(h, buf, sizeof buf, &n, nullptr);
    CloseHandle(h);
    EXPECT_EQ(std::string(buf, n), earlier);
    bool told = false;
    for (const auto& m : sim.messageLines) told = told || m.find(L"вторая.1.txt") != std::wstring::npos;
    EXPECT_TRUE(told);
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    DeleteFileW((folder + L"C__Work_m.txt_вторая.1.txt").c_str());
}

TEST_F(FoldingTest, UnwritableStateFolderKeepsTheBodiesInMemory) {
    // A file where the folder should be: no state file can be written.
    const std::wstring folder = sim.workFolder + L"Tintmark_Temp";
    RemoveStateFiles();
    RemoveDirectoryW(folder.c_str());
    HANDLE blocker = CreateFileW(folder.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(blocker);
    cfgsim::Document* d = Open(L"m.txt", U(kModule));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    EXPECT_EQ(d->text.LineCount(), 8);
    bool told = false;
    for (const auto& m : sim.messageLines) told = told || m.find(L"Tintmark: Ошибка записи в файл ") == 0;
    EXPECT_TRUE(told);
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_EQ(Text(d), U(kModule));
    DeleteFileW(folder.c_str());
}

// Every module of the corpus through the plugin: two lines per folded method, one state file
// each, and the original text back byte for byte.
TEST_F(FoldingTest, EveryCorpusModuleFoldsAndComesBack) {
    WIN32_FIND_DATAW fd;
    const std::string dir = TINTMARK_CORPUS_DIR;
    HANDLE h = FindFirstFileW((std::wstring(dir.begin(), dir.end()) + L"\\*.txt").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no corpus";
    std::vector<std::wstring> names;
    do names.push_back(fd.cFileName);
    while (FindNextFileW(h, &fd));
    FindClose(h);
    size_t methods = 0;
    for (const std::wstring& name : names) {
        const std::string file = WideTo1251(name);
        SCOPED_TRACE(Cp1251ToUtf8(file));
        cfgsim::Document* d = Open(L"m.txt", CorpusModule(Cp1251ToUtf8(file)));
        const std::u16string original = Text(d);
        const size_t lines = static_cast<size_t>(d->text.LineCount());
        ASSERT_EQ(plugin->CollapseAll(), S_OK);
        const TCfgWndData* r = Record(d);
        ASSERT_TRUE(r);
        size_t body = 0;
        for (const auto& [n, kept] : r->FoldedBlocks) body += kept.size() - 2;
        EXPECT_EQ(static_cast<size_t>(d->text.LineCount()) + body, lines);
        EXPECT_EQ(StateFiles().size(), r->FoldedBlocks.size());
        methods += r->FoldedBlocks.size();
        ASSERT_EQ(plugin->ExpandAll(), S_OK);
        EXPECT_TRUE(Text(d) == original);
        EXPECT_TRUE(StateFiles().empty());
        CloseAll();
    }
    EXPECT_GT(methods, 100u);
}

// Every host operation fails once, at each of its call positions, during each folding
// operation: afterwards the module is unchanged or consistently folded, nothing is lost, and
// a clean ExpandAll gives the original text back.
TEST_F(FoldingTest, EveryHostFailureLeavesTheTextConsistent) {
    std::u16string original = CorpusModule("diomed77-1c__Документы_ПереносВзаиморасчетыПокупателей_МодульПроведения.txt");
    if (original.empty()) original = U(kModule);
    cfgsim::Document* d = Open(L"m.txt", original);
    // The text as the simulator's buffer keeps it (a final empty line goes on the first reload).
    std::u16string normalized = Text(d);
    for (d->text.SetText(normalized); Text(d) != normalized; d->text.SetText(normalized)) normalized = Text(d);
    TCfgWndData* record = Record(d);
    ASSERT_TRUE(record);
    // The first header line of the module, for the gutter operations.
    int header = -1;
    for (int l = 0; l < d->text.LineCount() && header < 0; ++l)
        if (Encode1251(d->text.Line(l)).rfind(Utf8To1251("Процедура "), 0) == 0) header = l;
    ASSERT_GE(header, 0);

    auto reset = [&](bool folded) {
        sim.faults.clear();
        record->FoldedBlocks.clear();
        RemoveStateFiles();
        d->text.SetText(normalized);
        SetFocus(d->editor);
        if (folded) {
            ASSERT_EQ(plugin->CollapseAll(), S_OK);
        }
        SendMessageW(d->editor, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, std::max(0, header - 2)), 0);
        cfgsim::Pump();
    };
    struct Operation {
        const char* name;
        bool startsFolded;
        std::function<void()> run;
    };
    const Operation operations[] = {
        {"CollapseAll", false, [&] { plugin->CollapseAll(); }},
        {"ExpandAll", true, [&] { plugin->ExpandAll(); }},
        {"FoldRegion", false, [&] { GutterClick(d, header); }},
        {"UnfoldRegion", true, [&] { GutterClick(d, header); }},
    };
    int runs = 0;
    for (const Operation& op : operations) {
        reset(op.startsFolded);
        sim.calls.clear();
        op.run();
        const std::map<std::string, int> calls = sim.calls;
        for (const auto& [operation, count] : calls) {
            for (int n = 1; n <= count; ++n) {
                SCOPED_TRACE(std::string(op.name) + ": " + operation + " #" + std::to_string(n));
                reset(op.startsFolded);
                sim.InjectFault(operation, n, E_FAIL);
                op.run();
                sim.faults.clear();
                ExpectNothingLost(d, normalized);
                SetFocus(d->editor);
                ASSERT_EQ(plugin->ExpandAll(), S_OK);
                EXPECT_TRUE(Text(d) == normalized);
                EXPECT_FALSE(record->HasFoldedBlocks());
                ++runs;
            }
        }
    }
    EXPECT_GT(runs, 40);
}

