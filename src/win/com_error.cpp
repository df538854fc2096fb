// Error objects and HRESULT messages.
#include "win/com_error.h"

#include <cstdio>

#include "win/handles.h"

namespace tintmark {

namespace {
std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
}
}  // namespace

ComError::ComError(HRESULT hr, const std::wstring& message, const std::wstring& source)
    : std::runtime_error(Narrow(message)), hr_(hr), message_(message), source_(source) {}

std::wstring HresultMessage(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (n && buffer) {
        text.assign(buffer, n);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
            text.pop_back();
    }
    if (buffer) LocalFree(buffer);
    if (text.empty()) {
        wchar_t tmp[32];
        swprintf(tmp, 32, L"Error 0x%08lX", static_cast<unsigned long>(hr));
        text = tmp;
    }
    return text;
}

void ThrowIfFailed(HRESULT hr, const wchar_t* operation) {
    if (FAILED(hr)) throw ComError(hr, std::wstring(operation) + L": " + HresultMessage(hr));
}

void SetThreadErrorInfo(const ComError& e) {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return;
    create->SetDescription(const_cast<LPOLESTR>(e.message().c_str()));
    create->SetSource(const_cast<LPOLESTR>(e.source().c_str()));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.put_void()))) SetErrorInfo(0, info.get());
}

HRESULT ReportComError(const ComError& e, EXCEPINFO* excep) {
    if (!excep) {
        SetThreadErrorInfo(e);
        return e.hr();
    }
    *excep = EXCEPINFO{};
    excep->bstrSource = SysAllocString(e.source().c_str());
    excep->bstrDescription = SysAllocString(e.message().c_str());
    excep->scode = e.hr();
    return DISP_E_EXCEPTION;
}

}  // namespace tintmark
