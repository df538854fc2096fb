// Folding where users and hosts make it hard: edits that reshape folded methods, headers the
// two directions could read differently, names shared by documents, state files that cannot be
// written as wanted, failing message lines. Nothing may be lost, merged silently, or said
// falsely, and every window can be unfolded or closed.
#include <functional>

#include "host/records.h"
#include "editor_harness.h"
#include "win/wide_text.h"
#include "frame.h"
#include "text/cp1251.h"

using namespace tintmark;
using namespace tintmark::test;

namespace {

const char kPrint[] =
    "Перем А;\r\n"
    "Процедура Печать()\r\n"
    "  А = 1;\r\n"
    "  Б = 2;\r\n"
    "  В = 3;\r\n"
    "КонецПроцедуры\r\n"
    "Процедура Другая()\r\n"
    "  Г = 4;\r\n"
    "КонецПроцедуры";

struct FoldingSafetyTest : EditorHarness {
    std::wstring Folder() const { return sim.workFolder + L"Tintmark_Temp\\"; }
    bool Told(const wchar_t* part) const {
        for (const auto& m : sim.messageLines)
            if (m.find(part) != std::wstring::npos) return true;
        return false;
    }
    std::wstring Messages() const {
        std::wstring all;
        for (const auto& m : sim.messageLines) all += m + L"\n";
        return all;
    }
    // Opens a document under a path of its own (the state files are named after it).
    cfgsim::Document* OpenAt(const std::wstring& path, const std::u16string& text) {
        cfgsim::Document* d = cfgsim::OpenDocument(path, cfgsim::kTextDoc, 0, path, text);
        Focus(d);
        return d;
    }
    void Focus(cfgsim::Document* d) {
        cfgsim::ActivateDocument(d);
        SetFocus(d->editor);
        cfgsim::Pump();
    }
    // Replaces lines first..last (inclusive) of the document by text, as the user's editing does.
    void EditLines(cfgsim::Document* d, int first, int last, const char* utf8) {
        d->text.ReplaceRange({first, 0}, {last, d->text.LineLength(last)}, U(utf8));
    }
};

}  // namespace

// A new method written under the name of a folded one gets the kept body merged, and the user
// is told where; the state file stays until the user has checked the text.
TEST_F(FoldingSafetyTest, ANewMethodOfAFoldedNameIsNotMergedSilently) {
    struct Case {
        const char* name;
        const char* replacement;  // for the folded «Печать» (lines 1..2 while folded)
        const char* want;         // the document afterwards
    };
    const Case cases[] = {
        {"deleted and written anew", "Процедура Печать()\r\n  Новое();\r\nКонецПроцедуры",
         "Перем А;\r\nПроцедура Печать()\r\n  А = 1;\r\n  Б = 2;\r\n  В = 3;\r\n  Новое();\r\nКонецПроцедуры\r\n"
         "Процедура Другая()\r\n  Г = 4;\r\nКонецПроцедуры"},
        {"renamed, and a new one written", "Процедура Отчет()\r\nКонецПроцедуры\r\nПроцедура Печать()\r\n  Новое();\r\nКонецПроцедуры",
         "Перем А;\r\nПроцедура Отчет()\r\nКонецПроцедуры\r\nПроцедура Печать()\r\n  А = 1;\r\n  Б = 2;\r\n  В = 3;\r\n"
         "  Новое();\r\nКонецПроцедуры\r\nПроцедура Другая()\r\n  Г = 4;\r\nКонецПроцедуры"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.messageLines.clear();
        cfgsim::Document* d = Open(L"m.txt", U(kPrint));
        ASSERT_EQ(plugin->CollapseAll(), S_OK);
        EditLines(d, 1, 2, c.replacement);
        ASSERT_EQ(plugin->ExpandAll(), S_OK);
        EXPECT_EQ(Text(d), U(c.want));
        EXPECT_TRUE(Told(L"вставлен под ее заголовок")) << Cp1251ToUtf8(WideTo1251(Messages()));
        EXPECT_TRUE(Told(L"C__Work_m.txt_печать.txt"));
        EXPECT_EQ(ReadBytes(Folder() + L"C__Work_m.txt_печать.txt"),
                  Utf8To1251("Процедура Печать()\r\n  А = 1;\r\n  Б = 2;\r\n  В = 3;\r\nКонецПроцедуры\r\n"));
        EXPECT_FALSE(Record(d)->HasFoldedBlocks());  // the window can be closed
        CloseAll();
        RemoveStateFiles();
    }
}

// What CollapseAll folds, ExpandAll and the gutter find again: headers the header expression
// does not take are not folded at all.
TEST_F(FoldingSafetyTest, HeadersAreFoundByOneRuleBothWays) {
    const char* modules[] = {
        "Процедура\xc2\xa0Печать()\r\n  А = 1;\r\nКонецПроцедуры\r\nПроцедура Другая()\r\n  Г = 4;\r\nКонецПроцедуры",
        ";Процедура Печать()\r\n  А = 1;\r\nКонецПроцедуры\r\nПроцедура Другая()\r\n  Г = 4;\r\nКонецПроцедуры",
    };
    for (const char* m : modules) {
        SCOPED_TRACE(m);
        sim.messageLines.clear();
        cfgsim::Document* d = Open(L"m.txt", U(m));
        ASSERT_EQ(plugin->CollapseAll(), S_OK);
        EXPECT_EQ(Record(d)->FoldedBlocks.size(), 1u);
        ASSERT_EQ(plugin->ExpandAll(), S_OK);
        EXPECT_EQ(Text(d), U(m));
        EXPECT_TRUE(sim.messageLines.empty()) << Cp1251ToUtf8(WideTo1251(Messages()));
        EXPECT_FALSE(Record(d)->HasFoldedBlocks());
        EXPECT_TRUE(StateFiles().empty());
        CloseAll();
    }
}

// A body that stands in the document again (the host's undo) and was edited there is not
// inserted a second time; the user is told where the kept copy is.
TEST_F(FoldingSafetyTest, AnEditedBodyBackInTheDocumentIsNotInsertedAgain) {
    cfgsim::Document* d = Open(L"m.txt", U(kPrint));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    // The undo puts the body back; the user then edits a line of it.
    EditLines(d, 1, 2, "Процедура Печать()\r\n  А = 1;\r\n  Б = 20;\r\n  В = 3;\r\nКонецПроцедуры");
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_EQ(Text(d), U("Перем А;\r\nПроцедура Печать()\r\n  А = 1;\r\n  Б = 20;\r\n  В = 3;\r\nКонецПроцедуры\r\n"
                         "Процедура Другая()\r\n  Г = 4;\r\nКонецПроцедуры"));
    EXPECT_TRUE(Told(L"уже стоит измененный")) << Cp1251ToUtf8(WideTo1251(Messages()));
    EXPECT_NE(ReadBytes(Folder() + L"C__Work_m.txt_печать.txt"), "<missing>");
    EXPECT_FALSE(Record(d)->HasFoldedBlocks());
}

// A method whose name has a second, empty method is not folded (unfolding could not tell the
// two apart); two headers in folded form made afterwards are unfolded by a click on one.
TEST_F(FoldingSafetyTest, EveryFoldCanBeUndone) {
    const char twins[] = "Процедура А()\r\n  Б = 1;\r\nКонецПроцедуры\r\nПроцедура А()\r\nКонецПроцедуры";
    cfgsim::Document* d = Open(L"m.txt", U(twins));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_EQ(Text(d), U(twins));
    EXPECT_FALSE(Record(d)->HasFoldedBlocks());
    CloseAll();

    // Folded, then the user writes a second empty method of the name.
    d = Open(L"m.txt", U(kPrint));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    EditLines(d, 0, 0, "Процедура Печать()\r\nКонецПроцедуры\r\nПеремА;");
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_TRUE(Record(d)->HasFoldedBlocks());
    EXPECT_TRUE(Told(L"строки 1, 4"));
    GutterClick(d, 3);  // the user chooses the second
    EXPECT_FALSE(Record(d)->HasFoldedBlocks());
    EXPECT_EQ(Text(d), U("Процедура Печать()\r\nКонецПроцедуры\r\nПеремА;\r\nПроцедура Печать()\r\n  А = 1;\r\n  Б = 2;\r\n"
                         "  В = 3;\r\nКонецПроцедуры\r\nПроцедура Другая()\r\n  Г = 4;\r\nКонецПроцедуры"));
}

// An earlier file of the same name that cannot be kept under another name is not overwritten:
// the fold stays in memory and the user is told.
TEST_F(FoldingSafetyTest, AnEarlierFileThatCannotBeMovedAsideIsNotOverwritten) {
    const std::wstring stem = Folder() + L"C__Work_m.txt_печать";
    CreateDirectoryW(Folder().c_str(), nullptr);
    const std::string earlier = Utf8To1251("Процедура Печать()\r\n  Старое();\r\nКонецПроцедуры\r\n");
    WriteBytes(stem + L".txt", earlier);
    for (int n = 1; n < 1000; ++n) WriteBytes(stem + L"." + std::to_wstring(n) + L".txt", "x");
    cfgsim::Document* d = Open(L"m.txt", U(kPrint));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    EXPECT_EQ(ReadBytes(stem + L".txt"), earlier);
    EXPECT_TRUE(Told(L"Tintmark: Ошибка записи в файл ")) << Cp1251ToUtf8(WideTo1251(Messages()));
    EXPECT_EQ(Record(d)->FoldedBlocks.count(Utf8To1251("печать")), 1u);
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_EQ(Text(d), U(kPrint));
    EXPECT_EQ(ReadBytes(stem + L".txt"), earlier);
    RemoveStateFiles();
}

// With the message line failing, a body whose header is gone stays in memory and the command
// fails: the user learns where the text is from the failure.
TEST_F(FoldingSafetyTest, ABodyLeavesMemoryOnlyAfterTheUserWasTold) {
    cfgsim::Document* d = Open(L"m.txt", U(kPrint));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    EditLines(d, 1, 1, "");  // the folded header deleted
    sim.InjectFault("ShowMessageLine", 1, E_FAIL);
    EXPECT_NE(plugin->ExpandAll(), S_OK);
    sim.faults.clear();
    EXPECT_EQ(Record(d)->FoldedBlocks.count(Utf8To1251("печать")), 1u);
    SendMessageW(d->window, WM_CLOSE, 0, 0);
    cfgsim::Pump();
    EXPECT_TRUE(IsWindow(d->window));
    // Told now: it leaves memory and names its file.
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_TRUE(Told(L"C__Work_m.txt_печать.txt"));
    EXPECT_FALSE(Record(d)->HasFoldedBlocks());
}

// Two documents whose names give one state-file name share the file of an identical method,
// and keep their own files of different ones: unfolding one never deletes what the other
// relies on, and unfolding both leaves nothing behind.
TEST_F(FoldingSafetyTest, DocumentsSharingStateFileNames) {
    const char other[] =
        "Перем А;\r\nПроцедура Печать()\r\n  Иное();\r\nКонецПроцедуры\r\nПроцедура Другая()\r\n  Г = 4;\r\nКонецПроцедуры";
    cfgsim::Document* a = OpenAt(L"C:\\Work\\m.txt", U(kPrint));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    cfgsim::Document* b = OpenAt(L"C_\\Work\\m.txt", U(other));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    EXPECT_EQ(StateFiles().size(), 3u);  // «другая» shared, «печать» and its earlier one kept aside
    Focus(a);
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_EQ(Text(a), U(kPrint));
    EXPECT_EQ(ReadBytes(Folder() + L"C__Work_m.txt_другая.txt"),
              Utf8To1251("Процедура Другая()\r\n  Г = 4;\r\nКонецПроцедуры\r\n"));
    EXPECT_EQ(ReadBytes(Folder() + L"C__Work_m.txt_печать.txt"),
              Utf8To1251("Процедура Печать()\r\n  Иное();\r\nКонецПроцедуры\r\n"));
    Focus(b);
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_EQ(Text(b), U(other));
    EXPECT_TRUE(StateFiles().empty());
}

// Where no state file could be written, no message claims one.
TEST_F(FoldingSafetyTest, MessagesNameOnlyFilesThatExist) {
    const std::wstring folder = sim.workFolder + L"Tintmark_Temp";
    RemoveDirectoryW(folder.c_str());
    WriteBytes(folder, "");  // a file where the folder should be
    cfgsim::Document* d = Open(L"m.txt", U(kPrint));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    EditLines(d, 0, 0, "Процедура Печать()\r\nКонецПроцедуры");  // a second header in folded form
    sim.messageLines.clear();
    ASSERT_EQ(plugin->ExpandAll(), S_OK);
    EXPECT_TRUE(Told(L"только в памяти")) << Cp1251ToUtf8(WideTo1251(Messages()));
    EXPECT_FALSE(Told(L"в файле"));
    DeleteFileW(folder.c_str());
}

// Documents named like devices get real state files.
TEST_F(FoldingSafetyTest, DeviceNamesNeverNameStateFiles) {
    for (const wchar_t* name : {L"nul.Модуль", L"AUX.txt", L"com1", L"Lpt9 .Модуль"}) {
        SCOPED_TRACE(WideTo1251(name));
        cfgsim::Document* d = OpenAt(name, U(kPrint));
        ASSERT_EQ(plugin->CollapseAll(), S_OK);
        EXPECT_EQ(StateFiles().size(), 2u);
        ASSERT_EQ(plugin->ExpandAll(), S_OK);
        EXPECT_EQ(Text(d), U(kPrint));
        EXPECT_TRUE(StateFiles().empty());
        CloseAll();
    }
}

// When the host stops the plugin with windows open, their folded text goes back into the
// modules (under its header, or at the end when no header takes it): no window is left
// holding text that no guard keeps any more.
TEST_F(FoldingSafetyTest, DoneWithWindowsOpenPutsTheTextBack) {
    cfgsim::Document* a = OpenAt(L"a.txt", U(kPrint));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    cfgsim::Document* b = OpenAt(L"b.txt", U(kPrint));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    EditLines(b, 1, 1, "");  // b's folded header deleted, and no file can hold its text
    RemoveStateFiles();
    Record(b)->StateFiles.clear();
    const std::wstring folder = sim.workFolder + L"Tintmark_Temp";
    RemoveDirectoryW(folder.c_str());
    WriteBytes(folder, "");
    ASSERT_EQ(plugin->Done(), S_OK);
    DeleteFileW(folder.c_str());
    EXPECT_EQ(Text(a), U(kPrint));
    EXPECT_EQ(Text(b), U("Перем А;\r\n\r\nКонецПроцедуры\r\nПроцедура Другая()\r\n  Г = 4;\r\nКонецПроцедуры\r\n"
                         "Процедура Печать()\r\n  А = 1;\r\n  Б = 2;\r\n  В = 3;\r\nКонецПроцедуры"));
    EXPECT_TRUE(Told(L"добавлен в конец модуля"));
    EXPECT_FALSE(Record(a)->HasFoldedBlocks());
    EXPECT_FALSE(Record(b)->HasFoldedBlocks());
}

// When even that fails, the window keeps its text and its guard after Done.
TEST_F(FoldingSafetyTest, AfterDoneAWindowStillHoldingTextStaysGuarded) {
    cfgsim::Document* d = Open(L"m.txt", U(kPrint));
    ASSERT_EQ(plugin->CollapseAll(), S_OK);
    sim.InjectFault("GetText", 1, E_FAIL);
    sim.InjectFault("ReplaceRange", 1, E_FAIL);
    ASSERT_EQ(plugin->Done(), S_OK);
    sim.faults.clear();
    ASSERT_TRUE(Record(d)->HasFoldedBlocks());
    const size_t boxes = sim.messageBoxes.size();
    SendMessageW(d->window, WM_CLOSE, 0, 0);
    cfgsim::Pump();
    EXPECT_TRUE(IsWindow(d->window));
    SendMessageW(sim.configWindow, WM_CLOSE, 0, 0);
    cfgsim::Pump();
    EXPECT_TRUE(IsWindow(sim.configWindow));
    EXPECT_EQ(sim.messageBoxes.size(), boxes + 2);
}

// A state file that does not fit on the disk: CollapseAll fails with a non-zero code, says so,
// folds nothing and leaves no partial file to be taken for a whole one. Run by full_disk.sh
// with the work folder on a file system of one page.
TEST_F(FoldingSafetyTest, FullDisk) {
    const char* disk = getenv("TINTMARK_FULL_DISK");
    if (!disk || !*disk) GTEST_SKIP() << "run by full_disk.sh";
    const std::wstring saved = sim.workFolder;
    sim.workFolder = std::wstring(disk, disk + strlen(disk));
    std::string module = "Процедура Большая()\r\n";
    for (int i = 0; i < 400; ++i) module += "  Итог = Итог + 1234567890;\r\n";
    module += "КонецПроцедуры\r\nПроцедура Малая()\r\n  А = 1;\r\nКонецПроцедуры";
    cfgsim::Document* d = Open(L"m.txt", U(module.c_str()));
    const HRESULT hr = plugin->CollapseAll();
    EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    EXPECT_TRUE(Told(L"Tintmark: Ошибка записи в файл ")) << Cp1251ToUtf8(WideTo1251(Messages()));
    EXPECT_TRUE(StateFiles().empty());
    EXPECT_EQ(Text(d), U(module.c_str()));
    EXPECT_FALSE(Record(d)->HasFoldedBlocks());
    CloseAll();
    sim.workFolder = saved;
}
