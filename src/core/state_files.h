// Fold-state files: one text file per folded method in "Tintmark_Temp\" below the
// configurator's work folder.
#pragma once

#include <string>

namespace tintmark {

class TTintmarkPlugin;

class StateFiles {
public:
    // folder ends with a separator; docName is the document's part of the file names.
    StateFiles(TTintmarkPlugin& p, std::wstring workFolder, std::wstring docName);

    // The full path of a method's file (method name in Windows-1251, lower case).
    std::wstring PathOf(const std::string& method) const;

    // Writes the file (the folder is created with its parents when missing). When it cannot
    // be opened the configurator's message window says so and false is returned; a failure
    // while writing throws. A file already there with other content is kept under another
    // name first, so that text kept only in it is never overwritten.
    bool Write(const std::string& method, const std::string& content);
    // Whether the file exists with exactly this content.
    bool Holds(const std::string& method, const std::string& content) const;
    // Deletes the file when it holds exactly this content: a file of the same name may belong
    // to another document whose name became the same, and may hold its only copy.
    void Remove(const std::string& method, const std::string& content) const;

private:
    TTintmarkPlugin& p_;
    std::wstring folder_;
    std::wstring docName_;
    bool folderMade_ = false;
};

}  // namespace tintmark
