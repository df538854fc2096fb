// Host text document calls, with the answers of one piece of handling remembered.
#include "host/host_document.h"

#include "win/com_error.h"
#include "host/host.h"
#include "win/wide_text.h"

namespace tintmark {

namespace {
VARIANT Long(int32_t n) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}
}  // namespace

int32_t HostTextDocument::LineCount() {
    if (!lineCount_) lineCount_ = host::GetLineCount(doc_);
    return *lineCount_;
}

int32_t HostTextDocument::LineLength(int32_t line) {
    if (line != lengthLine_) {
        LONG n = 0;
        ThrowIfFailed(doc_->GetLineLength(line, &n), L"GetLineLength");
        lengthLine_ = line;
        length_ = n;
    }
    return length_;
}

std::u16string HostTextDocument::RangeTextWide(int32_t line1, int32_t col1, int32_t line2, int32_t col2) {
    BSTR text = nullptr;
    ThrowIfFailed(doc_->GetRangeText(line1, Long(col1), Long(line2), Long(col2), &text), L"GetRangeText");
    UniqueBstr owned(text);
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)) : std::u16string();
}

void HostTextDocument::RangeTextInto(int32_t line1, int32_t col1, int32_t line2, int32_t col2, std::string& out) {
    for (const Range& r : ranges_)
        if (r.at[0] == line1 && r.at[1] == col1 && r.at[2] == line2 && r.at[3] == col2) {
            out = r.text;
            return;
        }
    BSTR text = nullptr;
    ThrowIfFailed(doc_->GetRangeText(line1, Long(col1), Long(line2), Long(col2), &text), L"GetRangeText");
    UniqueBstr owned(text);
    out = text ? WideTo1251(text, SysStringLen(text)) : std::string();
    newest_ ^= 1;
    Range& r = ranges_[newest_];
    r.at[0] = line1, r.at[1] = col1, r.at[2] = line2, r.at[3] = col2;
    r.text = out;
}

void HostTextDocument::ReplaceRange(int32_t line1, int32_t col1, int32_t line2, int32_t col2,
                                    const std::u16string& text) {
    UniqueBstr b(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size())));
    if (!b && !text.empty()) throw std::bad_alloc();
    Forget();
    ThrowIfFailed(doc_->ReplaceRange(line1, Long(col1), Long(line2), Long(col2), b.get()), L"ReplaceRange");
}

std::u16string HostTextDocument::Text() {
    BSTR text = nullptr;
    ThrowIfFailed(doc_->GetText(&text), L"GetText");
    UniqueBstr owned(text);
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)) : std::u16string();
}

void HostTextDocument::MoveCaret(int32_t line1, int32_t col1, int32_t line2, int32_t col2) {
    sel_.reset();
    ThrowIfFailed(doc_->MoveCaret(line1, col1, Long(line2), Long(col2)), L"MoveCaret");
}

bool HostTextDocument::HasSelection() {
    const Sel& s = Selection();
    return s.endLine != s.startLine || s.endCol != s.startCol;
}

void HostTextDocument::Forget() {
    lineCount_.reset();
    sel_.reset();
    lengthLine_ = -1;
    for (Range& r : ranges_) r.at[0] = -1;
}

const HostTextDocument::Sel& HostTextDocument::Selection() {
    if (!sel_) {
        LONG a = 0, b = 0, c = 0, d = 0;
        ThrowIfFailed(doc_->GetSelStartLine(&a), L"GetSelStartLine");
        ThrowIfFailed(doc_->GetSelStartCol(&b), L"GetSelStartCol");
        ThrowIfFailed(doc_->GetSelEndLine(&c), L"GetSelEndLine");
        ThrowIfFailed(doc_->GetSelEndCol(&d), L"GetSelEndCol");
        sel_ = Sel{a, b, c, d};
    }
    return *sel_;
}

}  // namespace tintmark
