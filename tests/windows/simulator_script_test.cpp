// The script's assertions: each passes on what it asserts and fails, naming its line, when
// the state differs.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "script.h"
#include "simulator_fixture.h"

using namespace cfgsim;
using namespace cfgsim::test;

namespace {

void Write(const std::wstring& path, const std::string& bytes) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

class ScriptTest : public SimulatorTest {
protected:
    void SetUp() override {
        Write(dir + L"m.txt", "line 0 = (0);\r\nline 1 = (1);\r\nline 2 = (2);\r\nline 3 = (3);\r\n");
        Write(dir + L"same.txt", "abc");
        Write(dir + L"other.txt", "abd");
        CreateDirectoryW((sim.workFolder + L"Tintmark_Temp").c_str(), nullptr);
        Write(sim.workFolder + L"Tintmark_Temp\\f.txt", "abc");
    }
    void TearDown() override {
        for (auto& d : sim.documents)
            if (d->window && IsWindow(d->window))
                SendMessageW(sim.mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(d->window), 0);
        SimulatorTest::TearDown();
    }
    // Runs the prelude (an editor of the worked geometry on m.txt, 400 x 300) and body.
    int Run(const std::string& body) {
        const std::string script = "option Fonts\\BLang \"DejaVu Sans Mono,-14,0,400,204\"\nmargin 20\nopen m.txt\n"
                                   "resize 400 300\n" + body;
        Write(dir + L"t.cfgsim", script);
        return RunScript(dir + L"t.cfgsim");
    }
    static int Lines(const std::string& text) {
        int n = 0;
        for (char c : text) n += c == '\n';
        return n;
    }
    std::wstring dir = TempFolder(L"cfgsim-scripts");
};

struct Case {
    const char* assertion;
    const char* body;     // its last line fails
    const char* message;  // what the failure says
};

const Case kCases[] = {
    {"expect-rect", "bookmark 0 on\nexpect-rect 0 16 19 32 FFFFFF\nexpect-rect 0 0 19 16 #FFFFFF\n",
     "pixels are not FFFFFF"},
    {"expect-count", "expect-count 0 16 19 32 FFFFFF 304\nexpect-count 0 16 19 32 0xFFFFFF 303\n",
     "304 pixels are FFFFFF"},
    {"expect-image", "snapshot a.png\nexpect-image a.png\ntype x\nexpect-image a.png 255\nexpect-image a.png\n",
     "pixels differ)"},
    {"expect-focus", "expect-focus editor\nfocus list\nexpect-focus list\nfocus main\nexpect-focus main\nfocus editor\n"
                     "expect-focus m.txt\nfocus list\nexpect-focus editor\n",
     "the focus is on list"},
    {"expect-active", "expect-active m.txt\nexpect-active configuration\n", "the active window is m.txt"},
    {"expect-file", "expect-file f.txt same.txt\nexpect-file f.txt other.txt\n", "differs from other.txt at byte 2"},
    {"expect-host-messages", "reset-messages\nkey Down\nexpect-host-messages WM_KEYDOWN 1\nexpect-host-messages WM_KEYUP 2\n",
     "WM_KEYUP reached the editor 1 times"},
    {"expect-paints", "reset-paints\nkey Down\nexpect-paints 0\ntype x\nexpect-paints 0\n", "paints: 1"},
    {"expect-invalidations", "reset-paints\nkey Down\nexpect-invalidations 0\ntype x\nexpect-invalidations 2\n",
     "invalidations: 1"},
    {"expect-painted-area", "reset-paints\nexpect-painted-area none\nkey Down\ntype x\nexpect-painted-area 0 16 400 32\n"
                            "expect-painted-area none\n",
     "painted area 0 16 400 32"},
    {"expect-geometry", "expect-geometry 16 20 0\nexpect-geometry 15 20 0\n", "line height 16, margin 20, first line 0"},
    {"expect-bookmark", "bookmark 2 on\nexpect-bookmark 2 on\nexpect-bookmark 3 off\nexpect-bookmark 3 on\n",
     "the bookmark of line 3 is off"},
    {"expect-caret-point", "expect-caret-point 20 0\nexpect-caret-point 21 0\n", "the caret stands at 20 0"},
};

}  // namespace

TEST_F(ScriptTest, EachAssertionPassesAndFailsNamingItsLine) {
    for (const Case& c : kCases) {
        sim.log.clear();
        EXPECT_EQ(Run(c.body), 1) << c.assertion;
        ASSERT_FALSE(sim.log.empty()) << c.assertion;
        const std::string line = ":" + std::to_string(4 + Lines(c.body)) + ": expectation failed: ";
        const std::string last = Utf8(sim.log.back());
        const size_t at = last.find(line);
        EXPECT_NE(at, std::string::npos) << c.assertion << ": " << last;
        EXPECT_NE(last.find(c.message, at), std::string::npos) << c.assertion << ": " << last;
        TearDown();
        SetUp();
    }
}

TEST_F(ScriptTest, AFailedPictureIsWrittenNextToTheBuildOutput) {
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const std::wstring written = std::wstring(cwd) + L"\\picture.new.png";
    DeleteFileW(written.c_str());
    EXPECT_EQ(Run("snapshot picture.png\nkey End\ntype x\nexpect-image picture.png\n"), 1);
    EXPECT_NE(GetFileAttributesW(written.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(sim.log.back().find(written), std::wstring::npos);
    DeleteFileW(written.c_str());
}

TEST_F(ScriptTest, SaveWritesTheDocumentAndUnknownCommandsFail) {
    EXPECT_EQ(Run("type Ж\nsave m.txt saved.txt\nsave m.txt saved-utf8.txt utf8\n"), 0);
    FILE* f = _wfopen((dir + L"saved.txt").c_str(), L"rb");
    ASSERT_NE(f, nullptr);
    char head[4] = {};
    EXPECT_EQ(std::fread(head, 1, 4, f), 4u);
    std::fclose(f);
    EXPECT_EQ(std::string(head, 4), "\xC6lin");  // Windows-1251
    EXPECT_EQ(Run("frobnicate\n"), 1);
    EXPECT_NE(sim.log.back().find(L":5: unknown command frobnicate"), std::wstring::npos);
    EXPECT_EQ(Run("expect-rect 0 0 500 10 FFFFFF\n"), 1);  // outside the client area
    EXPECT_NE(sim.log.back().find(L"leaves the editor's 400x300 client area"), std::wstring::npos);
}
