// The navigation commands on the active editor: a text document's with or without the
// focus, a form's module page only with the focus, and nothing for a caret on no pair.
#include "editor_harness.h"
#include "text/cp1251.h"

using namespace tintmark;
using namespace tintmark::test;

namespace {

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

// The switches beyond pairs on the real plugin: the jump from member to member of a mixed
// English and Russian block, and CheckBlocks writing Russian lines to the message window.
TEST_F(NavigationTest, MiddleWordsAndCheckBlocks) {
    cfgsim::Document* d = Open(L"m.txt", U("Procedure А()\r\n  If Б Then\r\n  ИначеЕсли В Тогда\r\n  Else\r\n"
                                           "  EndIf;\r\n  КонецЦикла;\r\nEndProcedure"));
    auto jump = [&](int line, int col) {
        d->text.MoveCaret({line, col}, {line, col});
        EXPECT_EQ(plugin->JumpToPairBracket(), S_OK);
        return std::to_string(d->text.SelStart().line) + ":" + std::to_string(d->text.SelStart().col);
    };
    auto check = [&] {
        sim.messageLines.clear();
        LONG n = -1;
        EXPECT_EQ(plugin->CheckBlocks(&n), S_OK);
        return n;
    };
    // Switches off: English words are identifiers; the check still knows the middle words.
    EXPECT_EQ(jump(1, 3), "1:3");
    EXPECT_EQ(check(), 2);
    EXPECT_EQ(sim.messageLines, (std::vector<std::wstring>{L"Tintmark: Строка 3: ИначеЕсли — нет Если",
                                                            L"Tintmark: Строка 6: КонецЦикла — нет Для или Пока",
                                                            L"Tintmark: Проверка блоков: несоответствий 2"}));
    ASSERT_EQ(plugin->put_EnglishKeywords(VARIANT_TRUE), S_OK);
    EXPECT_EQ(jump(1, 3), "4:2");  // If → EndIf: a plain pair without the middle words
    ASSERT_EQ(plugin->put_HighlightMiddle(VARIANT_TRUE), S_OK);
    EXPECT_EQ(jump(1, 3), "2:2");
    EXPECT_EQ(jump(2, 2), "3:2");
    EXPECT_EQ(jump(3, 2), "4:2");
    EXPECT_EQ(jump(4, 2), "1:2");
    EXPECT_EQ(check(), 1);
    EXPECT_EQ(sim.messageLines.size(), 2u);
    ASSERT_EQ(plugin->put_EnglishKeywords(VARIANT_FALSE), S_OK);
    ASSERT_EQ(plugin->put_HighlightMiddle(VARIANT_FALSE), S_OK);
    EXPECT_EQ(plugin->CheckBlocks(nullptr), E_POINTER);
}
