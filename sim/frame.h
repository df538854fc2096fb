// The configurator's windows: the MDI frame, the configuration window, and per document a
// configurator window holding an "AfxMDIFrame42" frame with the editor as its first child.
#pragma once

#include <windows.h>

#include <string>

#include "simulator.h"

namespace cfgsim {

// Registers the classes and creates the frame, its MDI client and the configuration window.
bool CreateMainWindows(bool visible);

// Opens a document window; kind 1 puts the frame inside a page container.
Document* OpenDocument(const std::wstring& name, long kind, long id, const std::wstring& path,
                       const std::u16string& text);

void ActivateDocument(Document* doc);

// Captures message boxes of this thread: their text is recorded and they are dismissed
// with OK, so that nothing waits for a person.
void InstallMessageBoxCapture();

// Asks the plugins (OnQueryQuit); on consent closes everything and ends the message loop.
bool RequestQuit();

}  // namespace cfgsim
