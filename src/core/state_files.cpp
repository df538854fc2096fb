// Writing, checking and deleting fold-state files.
#include "core/state_files.h"

#include <windows.h>

#include "core/com_error.h"
#include "core/host.h"
#include "core/plugin.h"
#include "core/wide_text.h"

namespace tintmark {

namespace {

struct FileTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
using UniqueFile = UniqueHandle<HANDLE, FileTraits>;

// Creates the folder and every missing parent.
void CreateFolders(const std::wstring& folder) {
    for (size_t i = 0; i < folder.size(); ++i) {
        if (folder[i] != L'\\' && folder[i] != L'/') continue;
        if (i == 0 || folder[i - 1] == L':') continue;  // the root or a drive
        CreateDirectoryW(folder.substr(0, i).c_str(), nullptr);
    }
    CreateDirectoryW(folder.c_str(), nullptr);
}

bool ReadAll(const std::wstring& path, std::string& out) {
    UniqueFile f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!f) return false;
    out.clear();
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(f.get(), buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
    return true;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

StateFiles::StateFiles(TTintmarkPlugin& p, std::wstring workFolder, std::wstring docName)
    : p_(p), folder_(std::move(workFolder) + L"Tintmark_Temp\\"), docName_(std::move(docName)) {}

std::wstring StateFiles::PathOf(const std::string& method) const {
    return folder_ + docName_ + L"_" + Cp1251ToWide(method) + L".txt";
}

bool StateFiles::Holds(const std::string& method, const std::string& content) const {
    std::string existing;
    return ReadAll(PathOf(method), existing) && existing == content;
}

bool StateFiles::Write(const std::string& method, const std::string& content) {
    if (!folderMade_) {
        CreateFolders(folder_);
        folderMade_ = true;
    }
    const std::wstring path = PathOf(method);
    // A new file in one step; only when one is there already is its content looked at.
    UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f && GetLastError() == ERROR_FILE_EXISTS) {
        std::string existing;
        if (ReadAll(path, existing) && existing == content) return true;
        // Another fold of this name left text here that may exist nowhere else.
        const std::wstring stem = path.substr(0, path.size() - 4);
        for (int n = 1; n < 1000; ++n) {
            const std::wstring kept = stem + L"." + std::to_wstring(n) + L".txt";
            if (Exists(kept)) continue;
            if (MoveFileW(path.c_str(), kept.c_str()))
                p_.Message(L"Tintmark: прежний файл " + path + L" сохранен как " + kept);
            break;
        }
        f.reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!f) {
        p_.Message(L"Tintmark: Ошибка записи в файл " + path);
        return false;
    }
    // Written through to the system, which keeps it whatever happens to the configurator's
    // process afterwards.
    DWORD written = 0;
    if (!WriteFile(f.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
        written != content.size())
        throw ComError(HRESULT_FROM_WIN32(GetLastError()), L"Ошибка записи в файл " + path);
    HANDLE h = f.release();
    if (!CloseHandle(h)) throw ComError(HRESULT_FROM_WIN32(GetLastError()), L"Ошибка записи в файл " + path);
    return true;
}

void StateFiles::Remove(const std::string& method, const std::string& content) const {
    if (Holds(method, content)) DeleteFileW(PathOf(method).c_str());
}

}  // namespace tintmark
