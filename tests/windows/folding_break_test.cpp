// Reproductions of folding faults found by trying to break it on purpose: a state file that an
// outside agent (another configurator on the same work folder, a cleaner) deletes or rewrites
// while a window relies on it.
#include "host/records.h"
#include "win/wide_text.h"
#include "editor_harness.h"
#include "text/cp1251.h"

using namespace tintmark;
using namespace tintmark::test;

namespace {

const char kPrint[] =
    "Перем А;\r\n"
    "Процедура Печать()\r\n"
    "  А = 1;\r\n"
    "КонецПроцедуры";

using FoldingBreakTest = EditorHarness;

}  // namespace

// The state file of a folded method is deleted or rewritten behind the window's back, then the
// folded header is deleted: ExpandAll may let the body go only to a file that holds it.
TEST_F(FoldingBreakTest, AStateFileChangedBehindTheWindowIsNotTrusted) {
    struct Case {
        const char* name;
        const char* replacement;  // nullptr: the file is deleted
    };
    const Case cases[] = {{"deleted", nullptr}, {"rewritten by another", "Процедура Печать()\r\n  Чужое();\r\nКонецПроцедуры\r\n"}};
    const std::string kept = Utf8To1251("Процедура Печать()\r\n  А = 1;\r\nКонецПроцедуры\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.messageLines.clear();
        cfgsim::Document* d = Open(L"m.txt", U(kPrint));
        ASSERT_EQ(plugin->CollapseAll(), S_OK);
        const std::wstring file = sim.workFolder + L"Tintmark_Temp\\C__Work_m.txt_печать.txt";
        if (c.replacement)
            WriteBytes(file, Utf8To1251(c.replacement));
        else
            DeleteFileW(file.c_str());
        d->text.ReplaceRange({1, 0}, {1, d->text.LineLength(1)}, u"");  // the folded header deleted
        ASSERT_EQ(plugin->ExpandAll(), S_OK);
        // Either the window still holds the body, or a file it names holds it.
        if (Record(d)->HasFoldedBlocks()) continue;
        bool found = false;
        for (const auto& m : sim.messageLines) {
            const size_t at = m.find(L"в файле ");
            if (at != std::wstring::npos && ReadBytes(m.substr(at + 8)) == kept) found = true;
        }
        EXPECT_TRUE(found) << "the body left memory, and no file the user was told of holds it";
        CloseAll();
        RemoveStateFiles();
    }
}
