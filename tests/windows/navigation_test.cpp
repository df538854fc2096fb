// The navigation commands on the active editor: a text document's with or without the
// focus, a form's module page only with the focus, and nothing for a caret on no pair.
#include "editor_harness.h"
#include "text/cp1251.h"

using namespace tintmark;
using namespace tintmark::test;

namespace {

std::u16string U(const char* utf8) { return Decode1251(Utf8To1251(utf8)); }

// «Если» on line 1, its «КонецЕсли» 300 lines below, then «Ф()».
std::u16string FarApart() {
    std::u16string s = U("Процедура П()\r\n  Если А Тогда\r\n");
    for (int i = 0; i < 299; ++i) s += U("    Б = Б + 1;\r\n");
    s += U("  КонецЕсли;\r\n  Ф();\r\nКонецПроцедуры");
    return s;
}

using NavigationTest = EditorHarness;

}  // namespace

TEST_F(NavigationTest, TextDocumentWithOrWithoutFocus) {
    cfgsim::Document* d = Open(L"m.txt", FarApart());
    d->text.MoveCaret({301, 3}, {301, 3});
    SetFocus(nullptr);  // (the frame would hand the focus on to the active editor)
    ASSERT_EQ(plugin->JumpToPairBracket(), S_OK);
    EXPECT_EQ(d->text.SelStart().line, 1);
    EXPECT_EQ(d->text.SelStart().col, 2);
    ASSERT_EQ(plugin->SelectPairBlock(), S_OK);
    EXPECT_EQ(d->text.SelStart().line, 1);
    EXPECT_EQ(d->text.SelEnd().line, 301);
    EXPECT_EQ(d->text.SelEnd().col, 11);
    // «Ф()»: the inner block of the empty brackets is an empty selection between them.
    d->text.MoveCaret({302, 4}, {302, 4});
    ASSERT_EQ(plugin->SelectInnerBlock(), S_OK);
    EXPECT_EQ(d->text.SelStart().col, 4);
    EXPECT_EQ(d->text.SelEnd().col, 4);
    EXPECT_EQ(d->text.SelEnd().line, 302);
    // A caret past the end of its line, or on no pair: nothing moves.
    d->text.MoveCaret({302, 20}, {302, 20});
    ASSERT_EQ(plugin->JumpToPairBracket(), S_OK);
    EXPECT_EQ(d->text.SelStart().col, 20);
    d->text.MoveCaret({2, 6}, {2, 6});
    ASSERT_EQ(plugin->JumpToPairBracket(), S_OK);
    EXPECT_EQ(d->text.SelStart().line, 2);
    EXPECT_EQ(d->text.SelStart().col, 6);
}

TEST_F(NavigationTest, FormModulePageOnlyWithFocus) {
    cfgsim::Document* d = cfgsim::OpenDocument(L"form", cfgsim::kMultiPageDoc, 0, L"form", FarApart());
    cfgsim::Pump();
    d->text.MoveCaret({301, 3}, {301, 3});
    SetFocus(nullptr);  // (the frame would hand the focus on to the active editor)
    ASSERT_EQ(plugin->JumpToPairBracket(), S_OK);
    EXPECT_EQ(d->text.SelStart().line, 301) << "not while another window has the focus";
    SetFocus(d->editor);
    ASSERT_EQ(plugin->JumpToPairBracket(), S_OK);
    EXPECT_EQ(d->text.SelStart().line, 1);
}
