// Fold-state files: one text file per folded method in "Tintmark_Temp\" below the
// configurator's work folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tintmark {

struct TCfgWndData;

// The state files of one window's document. The window remembers which files it wrote
// (its record's StateFiles), so that it deletes only those, and only while no other window
// relies on the same file.
class StateFiles {
public:
    // A line for the user in the configurator's message window.
    using Tell = std::function<void(const std::wstring&)>;
    // docName is the document's part of the file names.
    StateFiles(Tell tell, std::wstring workFolder, std::wstring docName, TCfgWndData& owner);

    // The usual path of a method's file (method name in Windows-1251, lower case).
    std::wstring PathOf(const std::string& method) const;
    // The file that holds the method's kept text, as this window wrote it; empty when none.
    std::wstring FileOf(const std::string& method) const;

    // Writes the file (the folder is created with its parents when missing) and remembers it.
    // When it cannot be created, or an earlier file of that name can be neither kept under
    // another name nor taken as it is, the message window says so and false is returned: text
    // that exists only in a file is never overwritten. A failure while writing deletes the
    // partial file, says so and throws.
    bool Write(const std::string& method, const std::string& content);
    // Whether the method's text is in a file: the one written before, or one written now.
    bool Keep(const std::string& method, const std::string& content);
    // The method was unfolded and its text is whole in the document: its file is deleted
    // unless another window relies on it or it changed since it was written.
    void Release(const std::string& method);
    // The file stays where it is (the user was told); the window no longer answers for it.
    void Forget(const std::string& method);

private:
    // The other windows' records (asked once).
    const std::vector<TCfgWndData*>& Others();
    TCfgWndData* OtherClaiming(const std::wstring& path);
    bool Claim(const std::string& method, const std::wstring& path);

    Tell tell_;
    std::wstring folder_;
    std::wstring docName_;
    TCfgWndData& owner_;
    bool folderMade_ = false;
    bool othersKnown_ = false;
    std::vector<TCfgWndData*> others_;
};

}  // namespace tintmark
