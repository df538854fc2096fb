// Writing, keeping and deleting fold-state files.
#include "host/state_files.h"

#include <windows.h>

#include "win/com_error.h"
#include "host/host.h"
#include "host/records.h"
#include "win/wide_text.h"

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

bool Attributes(const std::wstring& path, StateFileClaim& out) {
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return false;
    out.path = path;
    out.size = (static_cast<ULONGLONG>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
    out.written = a.ftLastWriteTime;
    return true;
}

// Whether the file is still as it was when claimed (same size, same time of the last write).
bool Unchanged(const StateFileClaim& claim) {
    StateFileClaim now;
    return Attributes(claim.path, now) && now.size == claim.size && CompareFileTime(&now.written, &claim.written) == 0;
}

// A failed write: whatever error the system gave, never "success".
HRESULT WriteFailure(DWORD error) { return HRESULT_FROM_WIN32(error ? error : ERROR_WRITE_FAULT); }

}  // namespace

StateFiles::StateFiles(Tell tell, std::wstring workFolder, std::wstring docName, TCfgWndData& owner)
    : tell_(std::move(tell)), folder_(std::move(workFolder) + L"Tintmark_Temp\\"), docName_(std::move(docName)), owner_(owner) {}

std::wstring StateFiles::PathOf(const std::string& method) const {
    return folder_ + docName_ + L"_" + Cp1251ToWide(method) + L".txt";
}

std::wstring StateFiles::FileOf(const std::string& method) const {
    auto it = owner_.StateFiles.find(method);
    return it == owner_.StateFiles.end() ? std::wstring() : it->second.path;
}

const std::vector<TCfgWndData*>& StateFiles::Others() {
    if (!othersKnown_) {
        for (TCfgWndData* r : AllCfgWndData())
            if (r != &owner_ && !r->StateFiles.empty()) others_.push_back(r);
        othersKnown_ = true;
    }
    return others_;
}

TCfgWndData* StateFiles::OtherClaiming(const std::wstring& path) {
    for (TCfgWndData* r : Others())
        for (const auto& [name, claim] : r->StateFiles)
            if (lstrcmpiW(claim.path.c_str(), path.c_str()) == 0) return r;
    return nullptr;
}

bool StateFiles::Claim(const std::string& method, const std::wstring& path) {
    StateFileClaim claim;
    if (!Attributes(path, claim)) return false;
    owner_.StateFiles[method] = claim;
    return true;
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
        // The same text (another window of a document of the same file name, or an earlier
        // session): the file serves both.
        if (ReadAll(path, existing) && existing == content && Claim(method, path)) return true;
        // Text that may exist nowhere else: kept under the first free numbered name, and every
        // window that relies on it follows it there.
        const std::wstring stem = path.substr(0, path.size() - 4);
        bool moved = false;
        for (int n = 1; n < 1000 && !moved; ++n) {
            const std::wstring aside = stem + L"." + std::to_wstring(n) + L".txt";
            if (Exists(aside)) continue;
            if (!MoveFileW(path.c_str(), aside.c_str())) break;
            moved = true;
            for (TCfgWndData* holder : Others())
                for (auto& [name, claim] : holder->StateFiles)
                    if (lstrcmpiW(claim.path.c_str(), path.c_str()) == 0) claim.path = aside;
            tell_(L"Tintmark: прежний файл " + path + L" сохранен как " + aside);
        }
        if (!moved) {
            tell_(L"Tintmark: Ошибка записи в файл " + path +
                       L": прежний файл с этим именем не удалось сохранить под другим именем");
            return false;
        }
        f.reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!f) {
        tell_(L"Tintmark: Ошибка записи в файл " + path);
        return false;
    }
    // Written through to the system, which keeps it whatever happens to the configurator's
    // process afterwards. A partial file is never left to be taken for a whole one.
    DWORD written = 0;
    DWORD error = 0;
    if (!WriteFile(f.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
        written != content.size())
        error = GetLastError();
    else if (!CloseHandle(f.release()))
        error = GetLastError();
    else if (Claim(method, path))
        return true;
    if (!error) error = written != content.size() ? ERROR_DISK_FULL : ERROR_WRITE_FAULT;
    f.reset();
    DeleteFileW(path.c_str());
    tell_(L"Tintmark: Ошибка записи в файл " + path);
    throw ComError(WriteFailure(error), L"Ошибка записи в файл " + path);
}

bool StateFiles::Keep(const std::string& method, const std::string& content) {
    auto it = owner_.StateFiles.find(method);
    if (it != owner_.StateFiles.end()) {
        if (Unchanged(it->second)) return true;
        // Deleted or rewritten since (another configurator, a cleaner): it is not where the
        // text is any more, and what is there now is not this window's to delete.
        owner_.StateFiles.erase(it);
    }
    return Write(method, content);
}

void StateFiles::Release(const std::string& method) {
    auto it = owner_.StateFiles.find(method);
    if (it == owner_.StateFiles.end()) return;
    const StateFileClaim claim = it->second;
    owner_.StateFiles.erase(it);
    if (OtherClaiming(claim.path)) return;
    // Changed since it was written: not this window's text any more.
    if (Unchanged(claim)) DeleteFileW(claim.path.c_str());
}

void StateFiles::Forget(const std::string& method) { owner_.StateFiles.erase(method); }

}  // namespace tintmark
