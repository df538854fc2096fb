// The simulated configurator: its documents and windows, the host objects it hands to
// plugins, the loaded plugins, fault injection, call counts and what it logged.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host_h.h"
#include "text_buffer.h"
#include "undo_history.h"

namespace cfgsim {

class ConfiguratorObject;
class TelepatObject;

enum DocKind : long { kMultiPageDoc = 1, kTextDoc = 2, kOtherDoc = 3 };

struct Document {
    long id = 0;
    std::wstring name;
    std::wstring path;
    long kind = kTextDoc;
    long activePage = 1;
    long page1Kind = kTextDoc;  // the kind of page 1 of a multi-page document
    bool textFlag = true;       // what GetTextFlag answers
    TextBuffer text;
    UndoHistory history;     // the editor's undo and redo
    HWND window = nullptr;   // the configurator window (MDI child)
    HWND frame = nullptr;    // its "AfxMDIFrame42"
    HWND editor = nullptr;   // the editor (first child of the frame)
};

// Settings of every editor, changed by the script and the command line.
struct EditorSettings {
    int margin = 24;            // pixels left of text column 0 (the text origin)
    bool linesPastEnd = false;  // a click below the last line puts the caret past the end
};

struct Plugin {
    std::wstring progId;
    std::wstring name;
    IConfigPluginHost* host = nullptr;
    IDispatch* dispatch = nullptr;
};

struct Fault {
    int countdown = 0;  // the call that fails: 1 = the next one
    HRESULT hr = E_FAIL;
};

class Simulator {
public:
    static Simulator& Get();

    // ---- log and captured output ----
    void Log(const std::wstring& line);
    std::vector<std::wstring> log;
    std::vector<std::wstring> messageLines;  // ShowMessageLine
    std::vector<std::wstring> messageBoxes;  // captured and dismissed
    std::vector<long> commands;              // RunCommand

    // ---- fault injection and call counts of host operations ----
    // Counts the call; answers the injected failure when this is the call chosen.
    HRESULT Enter(const char* operation);
    void InjectFault(const std::string& operation, int nth, HRESULT hr);
    std::map<std::string, int> calls;
    std::map<std::string, Fault> faults;

    // ---- documents and windows ----
    std::vector<std::unique_ptr<Document>> documents;
    Document* DocumentOfWindow(HWND window);
    Document* DocumentByName(const std::wstring& name);
    Document* ActiveDocument();
    HWND mainWindow = nullptr;
    HWND mdiClient = nullptr;
    HWND configWindow = nullptr;
    HWND configList = nullptr;   // the list box inside the configuration window
    bool focusOnFrame = false;   // the main window keeps the focus itself (focus main)
    std::wstring workFolder;  // ends in "\"
    EditorSettings editor;

    // ---- host objects ----
    ConfiguratorObject* configurator = nullptr;  // owned (one reference)
    TelepatObject* telepat = nullptr;            // owned (one reference)
    // A new ICfgWindow object for a window (nullptr for none).
    ICfgWindow* WindowObject(HWND window);

    // ---- events ----
    void FireConfigWindowCreate();
    void FireActivate(HWND window, bool active);
    // True when a plugin refuses the quit.
    bool FireQueryQuit();

    // ---- plugins ----
    std::vector<Plugin> plugins;
    bool LoadPlugin(const std::wstring& progId);
    void UnloadPlugins();
    IDispatch* PluginByName(const std::wstring& name);

private:
    Simulator() = default;
};

// Text of a wide string as UTF-8 (for logs and files).
std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

}  // namespace cfgsim
