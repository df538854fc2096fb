// Errors inside the plugin are exceptions; every COM method turns them into an HRESULT.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace tintmark {

// An error with the HRESULT to report and a message for the caller's error object.
class ComError : public std::runtime_error {
public:
    ComError(HRESULT hr, const std::wstring& message, const std::wstring& source = L"Tintmark");
    HRESULT hr() const { return hr_; }
    const std::wstring& message() const { return message_; }
    const std::wstring& source() const { return source_; }

private:
    HRESULT hr_;
    std::wstring message_;
    std::wstring source_;
};

// Throws ComError for a failed host call; the message is the system's text for the HRESULT.
void ThrowIfFailed(HRESULT hr, const wchar_t* operation);

// The system's message for an HRESULT (no trailing line break), or "Error 0x...".
std::wstring HresultMessage(HRESULT hr);

// Records the error as the thread's error info (the host and scripts read it).
void SetThreadErrorInfo(const ComError& e);

// Reports a caught error: into excep (as IDispatch::Invoke does, answering
// DISP_E_EXCEPTION) when one is given, else as the thread's error info with its HRESULT.
HRESULT ReportComError(const ComError& e, EXCEPINFO* excep);

// Runs body and maps what it throws to an HRESULT: ComError to its own (or to
// DISP_E_EXCEPTION with excep filled), bad_alloc to E_OUTOFMEMORY, anything else to
// E_UNEXPECTED. Nothing escapes into the host. body may return an HRESULT of its own.
template <typename F>
HRESULT ComBoundary(F&& body, EXCEPINFO* excep = nullptr) noexcept {
    try {
        if constexpr (std::is_same_v<decltype(body()), HRESULT>) {
            return body();
        } else {
            body();
            return S_OK;
        }
    } catch (const ComError& e) {
        return ReportComError(e, excep);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace tintmark
