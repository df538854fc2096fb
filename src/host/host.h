// The host's object model as the plugin calls it: one throwing function per host operation.
#pragma once

#include <windows.h>

#include <string>

#include "win/handles.h"
#include "host_h.h"

namespace tintmark::host {

// Document kinds of the host.
constexpr LONG kMultiPageDocument = 1;
constexpr LONG kTextDocument = 2;

HWND ToHwnd(LONG handle);

// ---- the configurator ----
std::wstring GetWorkFolder(IConfigurator* cfg);
void ShowMessageLine(IConfigurator* cfg, const std::wstring& text, LONG kind);
void RunCommand(IConfigurator* cfg, LONG command);
ComPtr<IDispatch> PluginByName(IConfigurator* cfg, const std::wstring& name);
ComPtr<ICfgWindowList> GetWindowList(IConfigurator* cfg);
HWND GetConfigWindowHandle(IConfigurator* cfg);

// ---- the window list ----
HWND GetMainWindowHandle(IConfigurator* cfg);
ComPtr<ICfgWindow> GetActiveCfgWindow(IConfigurator* cfg);
ComPtr<ICfgWindow> GetFirstCfgWindow(ICfgWindowList* list);
ComPtr<ICfgWindow> GetNextCfgWindow(ICfgWindowList* list, ICfgWindow* after);

// ---- windows and documents ----
HWND GetWindowHandle(ICfgWindow* wnd);
ComPtr<ICfgDoc> GetDocument(ICfgWindow* wnd);
LONG GetDocKind(ICfgDoc* doc);
LONG GetDocId(ICfgDoc* doc);
std::wstring GetDocName(ICfgDoc* doc);
std::wstring GetDocPath(ICfgDoc* doc);
// A multi-page document's page and active page: slots 18 and 19 of the document object
// itself. The host defines no interface id for them, so they are called on the document
// pointer as it came, never through QueryInterface.
ComPtr<ICfgDoc> GetPage(ICfgDoc* multiPage, LONG index);
bool ActivePageIsFirst(ICfgDoc* multiPage);
// The text interface of a document of kind 2.
ComPtr<ITextDoc> AsTextDocument(ICfgDoc* doc);

// ---- text documents (the rest go through HostTextDocument) ----
bool GetTextFlag(ITextDoc* doc);
LONG GetLineCount(ITextDoc* doc);
std::wstring GetText(ITextDoc* doc);
bool GetBookmark(ITextDoc* doc, LONG line);
void SetBookmark(ITextDoc* doc, LONG line, bool on);
LONG NextBookmark(ITextDoc* doc, LONG line);

}  // namespace tintmark::host
