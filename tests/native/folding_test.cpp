// Folding plans: every corpus module comes back byte for byte, and no line a user had is
// lost under edits made while methods are folded.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "../corpus_module.h"
#include "analysis/fold_history.h"
#include "analysis/folding.h"
#include "analysis/keywords.h"
#include "analysis/scanner.h"
#include "text/cp1251.h"
#include "text_buffer.h"
#include "undo_history.h"

using namespace tintmark;

namespace {

std::u16string U(const char* utf8) { return Decode1251(Utf8To1251(utf8)); }

Lines16 L(std::initializer_list<const char*> lines) {
    Lines16 out;
    for (const char* l : lines) out.push_back(U(l));
    return out;
}

struct Folder {
    KeywordTable table;
    regex::TPluginPattern header, end;
    FoldedBlockMap folded;

    explicit Folder(KeywordOptions options = {}) {
        BuildKeyWordTable(table, options);
        header.SetExpression(Utf8To1251("^\\s*((процедура|procedure)|(функция|function))\\s+([\\wа-яА-Я]+)+"));
        header.CompileProgram();
        end.SetExpression(Utf8To1251("^\\s*((конецпроцедуры|endprocedure)|(конецфункции|endfunction))"));
        end.CompileProgram();
    }
    TKeyWordsMap Scan(const Lines16& lines) {
        TKeyWordsMap map;
        std::string text = ScanTextOf(lines);
        ScanText(text.data(), text.size(), 0, table, map);
        return map;
    }
    Lines16 Collapse(const Lines16& lines) {
        CollapsePlan plan = PlanCollapseAll(lines, Scan(lines), header, end,
                                            [&](const std::string& n) { return folded.count(n) != 0; });
        for (auto& m : plan.folded) folded.emplace(m.name, m.kept);
        removed = plan.removed;
        return plan.document;
    }
    ExpandPlan Expand(const Lines16& lines, bool keptElsewhere = false) {
        ExpandPlan plan =
            PlanExpandAll(lines, header, end, Scan(lines), folded, [&](const std::string&) { return keptElsewhere; });
        for (const auto& r : plan.restored) folded.erase(r.name);
        return plan;
    }
    int32_t removed = 0;
};

// Every line of `had` is in the document or in a kept body.
void ExpectNothingLost(const Lines16& had, const Lines16& document, const FoldedBlockMap& folded) {
    std::multiset<std::u16string> have(document.begin(), document.end());
    for (const auto& [name, kept] : folded) have.insert(kept.begin(), kept.end());
    for (const auto& line : had) EXPECT_TRUE(have.count(line)) << Cp1251ToUtf8(Encode1251(line));
}

const Lines16 kModule = L({
    "Перем А;",
    "Процедура Первая()",
    "  Если А Тогда",
    "    А = 1;",
    "  КонецЕсли;",
    "КонецПроцедуры",
    "",
    "Функция Вторая(Б) Экспорт",
    "  Возврат Б;",
    "КонецФункции",
    "Процедура Третья() Далее",
    "Процедура Пустая()",
    "КонецПроцедуры",
});

}  // namespace

TEST(Folding, CollapseKeepsHeaderAndEndAndExpandRestoresExactly) {
    Folder f;
    const Lines16 folded = f.Collapse(kModule);
    EXPECT_EQ(folded, L({"Перем А;", "Процедура Первая()", "КонецПроцедуры", "", "Функция Вторая(Б) Экспорт",
                         "КонецФункции", "Процедура Третья() Далее", "Процедура Пустая()", "КонецПроцедуры"}));
    // The empty method removes nothing yet counts as folded; the forward declaration does not.
    EXPECT_EQ(f.folded.size(), 3u);
    EXPECT_EQ(f.folded.count(Utf8To1251("пустая")), 1u);
    EXPECT_EQ(f.folded.at(Utf8To1251("первая")).size(), 5u);
    const ExpandPlan plan = f.Expand(folded);
    EXPECT_EQ(plan.document, kModule);
    EXPECT_TRUE(plan.missing.empty() && plan.ambiguous.empty());
    EXPECT_TRUE(f.folded.empty());
}

TEST(Folding, EditsWhileFoldedLoseNothing) {
    struct Case {
        const char* name;
        std::function<void(Lines16&)> edit;
        Lines16 want;          // the document after ExpandAll
        size_t stillFolded;    // names left in memory (ambiguous ones)
        size_t missing;
        bool keepsEveryOriginalLine = true;  // false where the user replaced a line
    };
    const Case cases[] = {
        {"a line typed after the folded header stays, the body goes under the header",
         [](Lines16& d) { d.insert(d.begin() + 2, U("  // новая строка")); },
         L({"Перем А;", "Процедура Первая()", "  Если А Тогда", "    А = 1;", "  КонецЕсли;", "  // новая строка",
            "КонецПроцедуры", "", "Функция Вторая(Б) Экспорт", "  Возврат Б;", "КонецФункции",
            "Процедура Третья() Далее", "Процедура Пустая()", "КонецПроцедуры"}),
         0, 0},
        {"an edit of the header line stays",
         [](Lines16& d) { d[1] = U("Процедура Первая(Парам) Экспорт"); },
         L({"Перем А;", "Процедура Первая(Парам) Экспорт", "  Если А Тогда", "    А = 1;", "  КонецЕсли;",
            "КонецПроцедуры", "", "Функция Вторая(Б) Экспорт", "  Возврат Б;", "КонецФункции",
            "Процедура Третья() Далее", "Процедура Пустая()", "КонецПроцедуры"}),
         0, 0, false},
        {"a deleted header: its body is reported missing",
         [](Lines16& d) { d.erase(d.begin() + 1); },
         L({"Перем А;", "КонецПроцедуры", "", "Функция Вторая(Б) Экспорт", "  Возврат Б;", "КонецФункции",
            "Процедура Третья() Далее", "Процедура Пустая()", "КонецПроцедуры"}),
         1, 1},
        {"a new procedure of a folded name: the body goes under the folded one",
         [](Lines16& d) {
             d.push_back(U("Процедура Первая()"));
             d.push_back(U("  Сообщить(1);"));
             d.push_back(U("КонецПроцедуры"));
         },
         L({"Перем А;", "Процедура Первая()", "  Если А Тогда", "    А = 1;", "  КонецЕсли;", "КонецПроцедуры", "",
            "Функция Вторая(Б) Экспорт", "  Возврат Б;", "КонецФункции", "Процедура Третья() Далее",
            "Процедура Пустая()", "КонецПроцедуры", "Процедура Первая()", "  Сообщить(1);", "КонецПроцедуры"}),
         0, 0},
        {"two headers of a folded name both in folded form: refused, kept in memory",
         [](Lines16& d) {
             d.push_back(U("Процедура Первая()"));
             d.push_back(U("КонецПроцедуры"));
         },
         L({"Перем А;", "Процедура Первая()", "КонецПроцедуры", "", "Функция Вторая(Б) Экспорт", "  Возврат Б;",
            "КонецФункции", "Процедура Третья() Далее", "Процедура Пустая()", "КонецПроцедуры", "Процедура Первая()",
            "КонецПроцедуры"}),
         1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder f;
        Lines16 doc = f.Collapse(kModule);
        c.edit(doc);
        const Lines16 edited = doc;
        const ExpandPlan plan = f.Expand(doc);
        EXPECT_EQ(plan.document, c.want);
        EXPECT_EQ(plan.missing.size(), c.missing);
        // Missing bodies are dropped from memory by the caller only once their file holds
        // them; here they stay in the map, so the union below covers them.
        EXPECT_EQ(f.folded.size(), c.stillFolded);
        if (c.keepsEveryOriginalLine) ExpectNothingLost(kModule, plan.document, f.folded);
        ExpectNothingLost(edited, plan.document, f.folded);
    }
}

// The host's undo puts a folded body back by itself: unfolding then must not insert it again.
TEST(Folding, ABodyTheHostPutBackIsNotInsertedTwice) {
    Folder f;
    f.Collapse(kModule);
    const ExpandPlan plan = f.Expand(kModule);  // the document as the undo left it
    EXPECT_EQ(plan.document, kModule);
    EXPECT_TRUE(f.folded.empty());
    EXPECT_TRUE(BodyFollows(kModule, 1, L({"Процедура Первая()", "  Если А Тогда", "    А = 1;", "  КонецЕсли;",
                                           "КонецПроцедуры"})));
    EXPECT_FALSE(BodyFollows(kModule, 1, L({"Процедура Первая()", "  Иначе", "КонецПроцедуры"})));
}

TEST(Folding, CollapseTwiceAndDuplicateNames) {
    Folder f;
    const Lines16 once = f.Collapse(kModule);
    const size_t kept = f.folded.size();
    EXPECT_EQ(f.Collapse(once), once);  // folded names are not folded again
    EXPECT_EQ(f.folded.size(), kept);

    Folder g;
    const Lines16 twins = L({"Процедура Двойник()", "  А = 1;", "КонецПроцедуры", "Процедура ДВОЙНИК()", "  Б = 2;",
                             "КонецПроцедуры"});
    const Lines16 folded = g.Collapse(twins);
    // One name, one kept body: the second method of that name stays unfolded.
    EXPECT_EQ(folded, L({"Процедура Двойник()", "КонецПроцедуры", "Процедура ДВОЙНИК()", "  Б = 2;", "КонецПроцедуры"}));
    EXPECT_EQ(g.Expand(folded).document, twins);
}

TEST(Folding, HeadersThatAreNotFolded) {
    Folder f;
    const Lines16 lines = L({"Перем А; Процедура Б()", "КонецПроцедуры", "Процедура", "  Имя()", "КонецПроцедуры",
                             "Процедура Одна() КонецПроцедуры", "  Функция Отступ()", "  КонецФункции"});
    const Lines16 folded = f.Collapse(lines);
    // Not at the line start, name on the next line, one-line method: left; the indented
    // header with its adjacent end is kept (nothing removed).
    EXPECT_EQ(folded, lines);
    ASSERT_EQ(f.folded.size(), 1u);
    EXPECT_EQ(f.folded.begin()->first, Utf8To1251("отступ"));
}

TEST(Folding, RestoreLineChoices) {
    auto folded = [](std::set<int32_t> s) { return [s](int32_t h) { return s.count(h) != 0; }; };
    EXPECT_EQ(RestoreLine({}, folded({}), -1), -1);
    EXPECT_EQ(RestoreLine({5}, folded({}), -1), 5);      // the only header, edited or not
    EXPECT_EQ(RestoreLine({5}, folded({}), 5), 5);
    EXPECT_EQ(RestoreLine({5}, folded({}), 7), -1);
    EXPECT_EQ(RestoreLine({5, 9}, folded({9}), -1), 9);  // the one in folded form
    EXPECT_EQ(RestoreLine({5, 9}, folded({9}), 5), -1);  // a click on the other one
    EXPECT_EQ(RestoreLine({5, 9}, folded({5, 9}), -1), -1);
    EXPECT_EQ(RestoreLine({5, 9}, folded({}), -1), -1);
}

TEST(Folding, StateFileNamesAndText) {
    EXPECT_EQ(StateFileDocumentName(u"C:\\Work\\a.txt"), u"C__Work_a.txt");
    EXPECT_EQ(StateFileDocumentName(u"Документ.Заказ"), u"Документ.Заказ");
    EXPECT_EQ(StateFileDocumentName(u"C:\\Мои модули\\a b.txt"), u"C__Мои модули_a b.txt");
    EXPECT_EQ(StateFileDocumentName(u"a<b>c\"d/e|f?g*h\ti"), u"a_b_c_d_e_f_g_h_i");
    // Device names, with any extension, never name a state file.
    for (const char16_t* device : {u"nul.Модуль", u"AUX.txt", u"con.a.b", u"Com7.x", u"lpt1 .x", u"prn.", u"CONOUT$.x"})
        EXPECT_EQ(StateFileDocumentName(device), u"_" + std::u16string(device));
    for (const char16_t* plain : {u"nul", u"com10.x", u"lpt0.x", u"nuls.x", u"C:\\nul.txt", u"conin.x"})
        EXPECT_NE(StateFileDocumentName(plain).front(), u'_') << Cp1251ToUtf8(Encode1251(plain));
    EXPECT_EQ(StateFileDocumentName(u"com10.x"), u"com10.x");
    EXPECT_EQ(StateFileDocumentName(u"C:\\nul.txt"), u"C__nul.txt");
    EXPECT_EQ(StateFileText(L({"Процедура А()", "КонецПроцедуры"})), Utf8To1251("Процедура А()\r\nКонецПроцедуры\r\n"));
    EXPECT_EQ(SplitLines(u"a\r\nb\rc\nd\r\n"), (Lines16{u"a", u"b", u"c", u"d"}));
    EXPECT_EQ(SplitLines(u""), (Lines16{u""}));
}

TEST(Folding, EveryCorpusModuleComesBackByteForByte) {
    const auto files = test::CorpusFiles(TINTMARK_CORPUS_DIR);
    if (files.empty()) GTEST_SKIP() << "no corpus at " << TINTMARK_CORPUS_DIR;
    size_t methods = 0, englishMethods = 0, utf8Modules = 0;
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const Lines16 original = SplitLines(test::ReadCorpusModule(path));
        // With English spellings known too, methods such as «Procedure OnClose() … EndProcedure»
        // fold as well.
        for (const KeywordOptions options : {KeywordOptions{}, KeywordOptions{true, true}}) {
            Folder f(options);
            const Lines16 folded = f.Collapse(original);
            size_t kept = 0;
            for (const auto& [name, lines] : f.folded) kept += lines.size() - 2;
            EXPECT_EQ(folded.size() + kept, original.size());
            (options.English ? englishMethods : methods) += f.folded.size();
            // Read as what they are, the UTF-8 modules fold too.
            if (test::CorpusModuleIsUtf8(path) && !options.English) {
                EXPECT_GT(f.folded.size(), 0u);
                ++utf8Modules;
            }
            const ExpandPlan plan = f.Expand(folded);
            EXPECT_TRUE(plan.document == original);
            EXPECT_TRUE(f.folded.empty());
        }
    }
    EXPECT_GT(methods, 100u);
    EXPECT_GT(englishMethods, methods);
    EXPECT_GT(utf8Modules, 0u);
}

// Folding and unfolding find headers by one rule: what CollapseAll folds, ExpandAll finds.
TEST(Folding, OnlyHeadersThatUnfoldingFindsAreFolded) {
    struct Case {
        const char* name;
        Lines16 lines;
        size_t folded;
        int32_t removed;
    };
    const Case cases[] = {
        {"a no-break space after the keyword", L({"Процедура\xc2\xa0" "А()", "  Б = 1;", "КонецПроцедуры"}), 0, 0},
        {"a stray semicolon before the keyword", L({";Процедура А()", "  Б = 1;", "КонецПроцедуры"}), 0, 0},
        {"a plain header", L({"Процедура А()", "  Б = 1;", "  В = 2;", "КонецПроцедуры"}), 1, 2},
        {"an end right after the header removes nothing", L({"Процедура А()", "КонецПроцедуры"}), 1, 0},
        {"a second empty method of the name stays in folded form: the first is not folded",
         L({"Процедура А()", "  Б = 1;", "КонецПроцедуры", "Процедура А()", "КонецПроцедуры"}), 1, 0},
        {"a second method of the name with a body: the first is folded",
         L({"Процедура А()", "  Б = 1;", "КонецПроцедуры", "Процедура А()", "  В = 1;", "КонецПроцедуры"}), 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder f;
        const Lines16 folded = f.Collapse(c.lines);
        EXPECT_EQ(f.folded.size(), c.folded);
        EXPECT_EQ(f.removed, c.removed);
        EXPECT_EQ(folded.size() + static_cast<size_t>(c.removed), c.lines.size());
        const ExpandPlan plan = f.Expand(folded);
        EXPECT_EQ(plan.document, c.lines);
        EXPECT_TRUE(plan.ambiguous.empty() && plan.missing.empty());
        EXPECT_TRUE(f.folded.empty());
    }
}

// Lines under a header that is no longer in folded form: typed lines or a new method of the
// name get the body merged above them (the caller tells the user); an edited copy of the body
// is not put in twice while its text is safe elsewhere.
TEST(Folding, HowABodyGoesBackUnderAnEditedHeader) {
    const Lines16 module = L({"Процедура Печать()", "  А = 1;", "  Б = 2;", "  В = 3;", "КонецПроцедуры"});
    struct Case {
        const char* name;
        Lines16 edited;       // the document while folded, after the user's edit
        bool keptElsewhere;
        Unfold how;
        size_t lines;         // of the document afterwards
    };
    const Case cases[] = {
        {"unedited", L({"Процедура Печать()", "КонецПроцедуры"}), true, Unfold::Insert, 5},
        {"the host's undo put it back", module, true, Unfold::AlreadyThere, 5},
        {"a new method of the name", L({"Процедура Печать()", "  Сообщить(1);", "КонецПроцедуры"}), true,
         Unfold::Merge, 6},
        {"lines typed under the header", L({"Процедура Печать()", "  // мысль", "КонецПроцедуры"}), true,
         Unfold::Merge, 6},
        {"the body back and edited", L({"Процедура Печать()", "  А = 1;", "  Б = 5;", "    В = 3;", "КонецПроцедуры"}),
         true, Unfold::Present, 5},
        {"the body back and edited, its text nowhere else", L({"Процедура Печать()", "  А = 1;", "  Б = 5;",
                                                               "    В = 3;", "КонецПроцедуры"}),
         false, Unfold::Merge, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder f;
        f.Collapse(module);
        const ExpandPlan plan = f.Expand(c.edited, c.keptElsewhere);
        ASSERT_EQ(plan.restored.size(), 1u);
        EXPECT_EQ(plan.restored[0].how, c.how);
        EXPECT_EQ(plan.restored[0].header, 0);
        EXPECT_EQ(plan.document.size(), c.lines);
        ExpectNothingLost(c.edited, plan.document, {});
    }
}

// The body already follows its header when it runs to the last line of the document (the end
// line deleted); one line short, it does not.
TEST(Folding, ABodyThatRunsToTheLastLineFollowsItsHeader) {
    const Lines16 kept = L({"Процедура А()", "  Б = 1;", "  В = 2;", "КонецПроцедуры"});
    EXPECT_TRUE(BodyFollows(L({"Перем Х;", "Процедура А()", "  Б = 1;", "  В = 2;"}), 1, kept));
    EXPECT_FALSE(BodyFollows(L({"Перем Х;", "Процедура А()", "  Б = 1;"}), 1, kept));
    EXPECT_FALSE(BodyFollows(L({"Процедура А()", "  Б = 1;", "  В = 2;"}), -1, kept));
}

// A folded text comes back through the editor's undo or redo exactly, so the fingerprint of the
// text a fold left recognises it (with the bodies folded in it); a text edited since does not
// match, whatever the edit, and neither does one older than the last few folds.
TEST(FoldHistory, OnlyAFoldedTextGivenBackByUndoOrRedoMatches) {
    using cfgsim::TextBuffer;
    using cfgsim::UndoHistory;
    struct Editor {
        TextBuffer t{JoinLines(kModule, u"\r\n")};
        UndoHistory u;
        Folder f;
        FoldHistory h;
        FoldedBlockMap bodies;
        Lines16 Lines() const { return SplitLines(t.GetText()); }
        // The host's replacement of the whole text: one undo step.
        void Replace(const Lines16& lines) {
            u.Before(t, UndoHistory::Change::Other);
            t.ReplaceRange({0, 0}, {t.LineCount() - 1, t.LineLength(t.LineCount() - 1)}, JoinLines(lines, u"\r\n"));
            u.After(t);
        }
        void Collapse() {
            const Lines16 folded = f.Collapse(Lines());
            Replace(folded);
            h.Remember(folded, f.folded);
            bodies = f.folded;
        }
        void Expand() {
            const Lines16 before = Lines();
            const ExpandPlan plan = f.Expand(before);
            if (plan.document != before) Replace(plan.document);
        }
        void Type(cfgsim::TextPos at, const char16_t* s) {
            u.Before(t, UndoHistory::Change::Typing);
            t.ReplaceRange(at, at, s);
            u.After(t);
        }
    };
    struct Case {
        const char* what;
        std::function<void(Editor&)> steps;  // after CollapseAll
        bool matches;
    };
    const Case cases[] = {
        {"ExpandAll, then undo", [](Editor& e) { e.Expand(), e.u.Undo(e.t); }, true},
        {"undo, ExpandAll (nothing to insert), redo",
         [](Editor& e) { e.u.Undo(e.t), e.Expand(), e.u.Redo(e.t); }, true},
        {"ExpandAll, an edit, undo both", [](Editor& e) { e.Expand(), e.Type({0, 0}, u"x"), e.u.Undo(e.t), e.u.Undo(e.t); },
         true},
        {"ExpandAll", [](Editor& e) { e.Expand(); }, false},
        {"ExpandAll, undo, a character typed", [](Editor& e) { e.Expand(), e.u.Undo(e.t), e.Type({0, 8}, u" "); }, false},
        {"ExpandAll, undo, one character replaced (same length)",
         [](Editor& e) {
             e.Expand(), e.u.Undo(e.t);
             e.t.ReplaceRange({0, 6}, {0, 7}, u"Б");
         },
         false},
        {"ExpandAll, undo, two lines joined and a blank added (same length)",
         [](Editor& e) {
             e.Expand(), e.u.Undo(e.t);
             e.t.ReplaceRange({0, 8}, {1, 0}, u" ");
         },
         false},
        {"ExpandAll, undo, after four other folded texts",
         [](Editor& e) {
             e.Expand(), e.u.Undo(e.t);
             for (int i = 0; i < static_cast<int>(FoldHistory::kTexts); ++i)
                 e.h.Remember(Lines16{std::u16string(static_cast<size_t>(i + 1), u'x')}, e.bodies);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Editor e;
        e.Collapse();
        const Lines16 folded = e.Lines();
        c.steps(e);
        const FoldedBlockMap* found = e.h.Match(e.Lines());
        ASSERT_EQ(found != nullptr, c.matches);
        if (!found) continue;
        EXPECT_EQ(e.Lines(), folded);
        EXPECT_EQ(*found, e.bodies);
        Folder readopted;
        readopted.folded = *found;
        EXPECT_EQ(readopted.Expand(e.Lines()).document, kModule) << "the bodies found unfold the module";
    }
}
