// The host's text document as the analysis sees it: Windows-1251 text over ITextDoc.
#pragma once

#include <optional>
#include <string>

#include "analysis/document.h"
#include "win/handles.h"
#include "host_h.h"

namespace tintmark {

// One object serves one piece of handling (a message, an event, a command). Within it the
// answers that cannot change unless the plugin itself changes the document (line count,
// selection, the text of the last line read) are asked of the host once; the plugin's own
// MoveCaret and ReplaceRange forget them. Text is converted through code page 1251 named
// explicitly, whatever the machine's ANSI code page.
class HostTextDocument final : public TextDocument {
public:
    explicit HostTextDocument(ITextDoc* doc) : doc_(doc) {}

    ITextDoc* get() const { return doc_; }

    int32_t LineCount() override;
    int32_t LineLength(int32_t line) override;
    void RangeTextInto(int32_t line1, int32_t col1, int32_t line2, int32_t col2, std::string& out) override;
    int32_t SelStartLine() override { return Selection().startLine; }
    int32_t SelStartCol() override { return Selection().startCol; }
    int32_t SelEndLine() override { return Selection().endLine; }
    int32_t SelEndCol() override { return Selection().endCol; }
    void MoveCaret(int32_t line1, int32_t col1, int32_t line2, int32_t col2) override;

    // The host's own UTF-16 text of a range and its replacement.
    std::u16string RangeTextWide(int32_t line1, int32_t col1, int32_t line2, int32_t col2);
    void ReplaceRange(int32_t line1, int32_t col1, int32_t line2, int32_t col2, const std::u16string& text);
    std::u16string Text();

    // Whether a selection exists (its ends differ).
    bool HasSelection();
    // Drops every remembered answer (the host may have changed the document).
    void Forget();

private:
    struct Sel {
        int32_t startLine, startCol, endLine, endCol;
    };
    const Sel& Selection();

    ITextDoc* doc_;
    std::optional<int32_t> lineCount_;
    std::optional<Sel> sel_;
    int32_t lengthLine_ = -1, length_ = 0;
    // The last two ranges read: the caret line is read by several steps of one handling, with
    // a partner's text read between them.
    struct Range {
        int32_t at[4] = {-1, -1, -1, -1};
        std::string text;
    };
    Range ranges_[2];
    int newest_ = 0;
};

}  // namespace tintmark
