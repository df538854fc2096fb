// The simulator's windows, started once for all tests of the simulator, and small helpers.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frame.h"
#include "host_objects.h"
#include "input.h"
#include "options.h"
#include "pump.h"
#include "simulator.h"
#include "test_variants.h"

namespace cfgsim::test {

using tintmark::test::I4;

inline std::wstring Text(BSTR b) {
    std::wstring s(b ? b : L"", b ? SysStringLen(b) : 0);
    SysFreeString(b);
    return s;
}

// A fresh folder below the temporary folder, ending in a separator.
inline std::wstring TempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

class SimulatorTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static const bool started = [] {
            Simulator& sim = Simulator::Get();
            sim.workFolder = TempFolder(L"cfgsim-test");
            sim.configurator = new ConfiguratorObject();
            sim.telepat = new TelepatObject();
            WriteDefaultOptions();
            InstallMessageBoxCapture();
            return CreateMainWindows(false);
        }();
        ASSERT_TRUE(started);
    }
    void TearDown() override {
        ReleaseHeldInput();
        Simulator::Get().editor = EditorSettings{};
    }
    Simulator& sim = Simulator::Get();
};

}  // namespace cfgsim::test
