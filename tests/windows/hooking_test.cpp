// The installed window procedures: "already hooked" means "its procedure is ours", messages
// always reach the window's own procedure, and after the plugin stops every window keeps
// working, with ours left only where another procedure covers it.
#include <gtest/gtest.h>

#include "win/module.h"
#include "hook/subclass.h"

using namespace tintmark;

namespace {

int g_received = 0;

LRESULT CALLBACK Counting(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER + 1) return ++g_received;
    return DefWindowProcW(wnd, msg, wp, lp);
}

// A procedure another program puts on top of ours.
WNDPROC g_below = nullptr;
LRESULT CALLBACK OnTop(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) { return CallWindowProcW(g_below, wnd, msg, wp, lp); }

struct HookingFixture : testing::Test {
    HWND wnd = nullptr;
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Counting;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TintmarkHookingTest";
        RegisterClassW(&wc);
        wnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                              nullptr);
        g_received = 0;
    }
    void TearDown() override {
        if (IsWindow(wnd)) DestroyWindow(wnd);
        UnhookAll();
    }
    WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)); }
};

}  // namespace

TEST_F(HookingFixture, HookedOnceMessagesPassAndUnhookRestores) {
    ASSERT_TRUE(HookWindow(wnd, HookKind::Editor));
    EXPECT_TRUE(IsHooked(wnd, HookKind::Editor));
    EXPECT_FALSE(IsHooked(wnd, HookKind::CfgWindow));
    EXPECT_FALSE(HookWindow(wnd, HookKind::Editor)) << "a second hook of the same kind";
    // Without a running plugin the procedure passes every message on.
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);
    EXPECT_EQ(UnhookAll(), 0);
    EXPECT_EQ(Proc(), Counting);
    EXPECT_EQ(HookedWindowCount(), 0);
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 2);
}

TEST_F(HookingFixture, CoveredProcedureStaysPassesOnAndKeepsTheModuleUntilTheWindowGoes) {
    ASSERT_TRUE(HookWindow(wnd, HookKind::CfgWindow));
    g_below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OnTop)));
    const bool couldUnload = ModuleCanUnload();
    EXPECT_EQ(UnhookAll(), 1);
    EXPECT_EQ(Proc(), OnTop) << "another program's procedure is not taken away";
    EXPECT_FALSE(ModuleCanUnload()) << "our procedure is still in the window's chain";
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);
    EXPECT_EQ(UnhookAll(), 1) << "a second stop changes nothing";
    EXPECT_FALSE(ModuleCanUnload());
    DestroyWindow(wnd);
    EXPECT_EQ(HookedWindowCount(), 0);
    EXPECT_EQ(ModuleCanUnload(), couldUnload);
}

// Another program subclasses the window on top of ours; hooking it again must not put ours
// on top too, or the two procedures would call each other without end.
TEST_F(HookingFixture, HookingAgainUnderAnotherProgramsProcedureKeepsOneCopy) {
    ASSERT_TRUE(HookWindow(wnd, HookKind::Editor));
    g_below = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OnTop)));
    EXPECT_TRUE(IsHooked(wnd, HookKind::Editor));
    EXPECT_FALSE(HookWindow(wnd, HookKind::Editor));
    EXPECT_EQ(Proc(), OnTop);
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 1);
    // After a stop that left ours in the chain, a new start takes it back into use.
    EXPECT_EQ(UnhookAll(), 1);
    EXPECT_FALSE(ModuleCanUnload());
    EXPECT_FALSE(HookWindow(wnd, HookKind::Editor));
    EXPECT_EQ(Proc(), OnTop);
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 2);
}

TEST_F(HookingFixture, DestroyedWindowIsForgotten) {
    ASSERT_TRUE(HookWindow(wnd, HookKind::ConfigWindow));
    EXPECT_EQ(HookedWindowCount(), 1);
    DestroyWindow(wnd);
    EXPECT_EQ(HookedWindowCount(), 0);
    EXPECT_FALSE(HookWindow(nullptr, HookKind::Editor));
}
