// The plugin object inside the simulated configurator in this process: its windows, its
// documents and its host objects, for tests that drive the plugin through messages and
// host calls and look at the documents, the state files and the windows afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/handles.h"
#include "plugin/plugin.h"
#include "host/records.h"
#include "frame.h"
#include "host_objects.h"
#include "script.h"
#include "simulator.h"

namespace tintmark::test {

class EditorHarness : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Opens a module (UTF-8 or Windows-1251 text) and gives its editor the focus.
    cfgsim::Document* Open(const std::wstring& name, const std::u16string& text);
    // Destroys every document window without asking (the guards are not what is tested).
    void CloseAll();
    // Left click in the gutter on a visible line, by window messages.
    void GutterClick(cfgsim::Document* d, int line);

    std::u16string Text(cfgsim::Document* d) const { return d->text.GetText(); }
    // Names of the files in the work folder's Tintmark_Temp\ folder.
    std::vector<std::wstring> StateFiles() const;
    void RemoveStateFiles() const;
    TCfgWndData* Record(cfgsim::Document* d) const;

    cfgsim::Simulator& sim = cfgsim::Simulator::Get();
    ComPtr<TTintmarkPlugin> plugin;
};

// UTF-8 source text as the UTF-16 text the editor holds (through Windows-1251, as a module is).
std::u16string U(const char* utf8);
// A file's bytes ("<missing>" when it cannot be opened), and a file written with given bytes.
std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);

// A module of the shared corpus (its file name in UTF-8) as UTF-16 text, read in the encoding
// the corpus manifest gives (empty when the corpus is missing).
std::u16string CorpusModule(const std::string& fileName);

}  // namespace tintmark::test
