// Properties of the analysis over every module of the shared corpus.
#include <gtest/gtest.h>

#include <filesystem>

#include "../corpus_module.h"
#include "analysis/fixed_pitch_view.h"
#include "analysis/memory_document.h"
#include "analysis/navigation.h"
#include "analysis/scanner.h"
#include "analysis/token.h"
#include "text/cp1251.h"

using namespace tintmark;

namespace {

std::vector<std::filesystem::path> CorpusFiles() { return test::CorpusFiles(TINTMARK_CORPUS_DIR); }

// The module as Windows-1251 text, read in the encoding its manifest names.
MemoryDocument Load(const std::filesystem::path& path) {
    return MemoryDocument::FromText(Encode1251(test::ReadCorpusModule(path)));
}

// The column at which the caret stands on an entry's token.
int32_t CaretColumnOn(const TKeyWordPos& e) { return e.Kind == kCloseBracket ? e.StartCol : e.StartCol + 1; }

}  // namespace

TEST(Corpus, EntriesPartnersAndChunkedSearch) {
    const auto files = CorpusFiles();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << TINTMARK_CORPUS_DIR;
    int64_t entries = 0, symmetric = 0, chunkedChecked = 0;
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        MemoryDocument doc = Load(path);
        Analysis a;
        BuildKeyWordTable(a.Keywords);
        ScanLines(doc, 0, doc.LineCount(), a.Keywords, a.KeyWordsMap, a.ScanBuffer);
        const TKeyWordsMap whole = a.KeyWordsMap;  // the chunked search overwrites the list
        const int32_t n = whole.Count();
        entries += n;

        for (int32_t i = 0; i < n; ++i) {
            const TKeyWordPos& e = whole[i];
            // Each entry's text is the keyword or bracket it claims to be.
            std::string text = doc.RangeText(e.Line, e.StartCol, e.Line, e.EndCol + 1);
            LowerInPlace1251(text.data(), text.size());
            if (e.Kind == kOpenBracket || e.Kind == kCloseBracket) {
                ASSERT_EQ(text, e.Kind == kOpenBracket ? "(" : ")") << "line " << e.Line;
            } else {
                const int k = LookUpKeyWord(a.Keywords, text);
                ASSERT_GE(k, 0) << "line " << e.Line;
                ASSERT_EQ(a.Keywords.KeyWords[static_cast<size_t>(k)].Kind, e.Kind) << "line " << e.Line;
            }
            if (i > 0) {
                ASSERT_TRUE(e.Line > whole[i - 1].Line ||
                            (e.Line == whole[i - 1].Line && e.StartCol > whole[i - 1].EndCol));
            }
            if (e.Direction == kNeutral) continue;

            // The partner of the partner is the token itself (apart from method headers and
            // ends, whose searches stop at different boundaries).
            const bool header = e.Kind == kProcedure || e.Kind == kFunction;
            const bool end = e.Kind == kEndProcedure || e.Kind == kEndFunction;
            int32_t depth = 0, found = -1;
            const PartnerSearch r = FindPartner(whole, i, e.Direction, e.Kind, e.Partner1, e.Partner2, header, end,
                                                depth, found);
            if (r == PartnerSearch::Found && !header && !end) {
                const TKeyWordPos& p = whole[found];
                int32_t d2 = 0, back = -1;
                ASSERT_EQ(FindPartner(whole, found, p.Direction, p.Kind, p.Partner1, p.Partner2, false, false, d2,
                                      back),
                          PartnerSearch::Found);
                ASSERT_EQ(back, i) << "line " << e.Line;
                ++symmetric;
            }

            // The chunked search agrees with the whole-document search (a sample of entries).
            if (i % 7 != 0) continue;
            const int32_t c = CaretColumnOn(e);
            const std::string line = doc.Line(e.Line);
            TokenClass cls;
            if (!ClassifyToken(a.Keywords, TokenAtCaret(line, c).token, cls) || cls.Kind != e.Kind) continue;
            if (line.substr(0, static_cast<size_t>(c)).find("//") != std::string::npos) continue;
            doc.MoveCaret(e.Line, c, e.Line, c);
            FixedPitchView view(0, 40);
            PairSettings settings;
            PartnerPosition pos;
            const bool got = FindPairPosition(a, doc, view, settings, kReportPartner, &pos);
            ASSERT_EQ(got, r == PartnerSearch::Found) << "line " << e.Line << " col " << c;
            if (got) {
                ASSERT_EQ(pos.Line, whole[found].Line);
                ASSERT_EQ(pos.StartCol, whole[found].StartCol);
            }
            ++chunkedChecked;
        }
    }
    EXPECT_GT(entries, 10000);
    EXPECT_GT(symmetric, 1000);
    EXPECT_GT(chunkedChecked, 1000);
}
