// The configurator's windows: the MDI frame, the configuration window, and per document a
// configurator window holding an "AfxMDIFrame42" frame with the editor as its first child.
#pragma once

#include <windows.h>

#include <string>

#include "simulator.h"

namespace cfgsim {

// Registers the classes and creates the frame, its MDI client and the configuration window.
// The frame is shown in any case (input must reach it); visible also activates it.
bool CreateMainWindows(bool visible);

// Creates the configuration window with its list box.
bool CreateConfigWindow();
// Destroys the configuration window, creates it anew and fires ConfigWindowCreate, as when
// a configuration is closed and opened again.
void ReopenConfigWindow();

// Opens a document window; kind 1 puts the frame inside a page container, and page1Kind
// is the kind of its page 1.
Document* OpenDocument(const std::wstring& name, long kind, long id, const std::wstring& path,
                       const std::u16string& text, long page1Kind = kTextDoc, bool textFlag = true);

void ActivateDocument(Document* doc);

// Captures message boxes of this thread: their text is recorded and they are dismissed
// with OK, so that nothing waits for a person.
void InstallMessageBoxCapture();

// Asks the plugins (OnQueryQuit); on consent closes everything and ends the message loop.
bool RequestQuit();

}  // namespace cfgsim
