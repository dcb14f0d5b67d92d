// The Win32 glue around windows: the message hook, the program identity (this test program is built as desktop
// 3) and its window tag, the application icon, and key names from the prefix's (US) keyboard layout.
#include "AppIcon.h"
#include "KeyText.h"
#include "MessageHook.h"
#include "Window.h"
#include "frmMain.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <vector>

namespace {

constexpr UINT kPing = WM_APP + 1;
std::string g_order;  // who handled kPing, in order

class TestWindow : public Window {
public:
    explicit TestWindow(HWND owner = nullptr) { CreateBound("VarnelTest", 0, "", WS_OVERLAPPED, 0, 0, 99, 99, owner); }
    std::vector<WPARAM> iconSends;  // ICON_BIG / ICON_SMALL in the order they came

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETICON)
            iconSends.push_back(wParam);
        if (message != kPing)
            return Default(message, wParam, lParam);
        g_order += "W";
        return 42;
    }
};

struct Client : ISubclass {
    Client(char mark_, int32_t response_) : mark(mark_), response(response_) {}
    LRESULT ISubclass_WindowProc(HWND, UINT, WPARAM, LPARAM) override {
        g_order += mark;
        whileCalled();
        return 0;
    }
    int32_t ISubclass_MsgResponse() const override { return response; }
    char mark;
    int32_t response;
    std::function<void()> whileCalled = [] {};
};

}  // namespace

TEST(MessageHook, ClientsOfTheHookedWindowBeforeOrAfterItsOwnHandlingUntilUnhooked) {
    TestWindow a, b;
    Client before('b', MsgResponseBefore), after('a', MsgResponseAfter), first('1', MsgResponseBefore);
    ASSERT_TRUE(HookMessage(&after, a.Hwnd(), kPing));
    ASSERT_TRUE(HookMessage(&before, a.Hwnd(), kPing));
    ASSERT_TRUE(HookMessage(&before, a.Hwnd(), kPing));  // once is enough
    ASSERT_TRUE(HookMessage(&before, a.Hwnd(), WM_APP + 2));
    EXPECT_EQ(::SendMessageA(b.Hwnd(), kPing, 0, 0), 42);
    EXPECT_EQ(::SendMessageA(a.Hwnd(), kPing, 0, 0), 42);  // the window's own answer stands
    // A client that throws (out of memory in its work) is skipped; nothing crosses into user32.
    before.whileCalled = [] { throw std::bad_alloc(); };
    EXPECT_EQ(::SendMessageA(a.Hwnd(), kPing, 0, 0), 42);
    EXPECT_TRUE(UnhookMessage(&before, a.Hwnd(), kPing));
    EXPECT_FALSE(UnhookMessage(&before, a.Hwnd(), kPing));
    ::SendMessageA(a.Hwnd(), kPing, 0, 0);
    EXPECT_FALSE(HookMessage(&before, ::GetDesktopWindow(), kPing));  // another thread's window
    EXPECT_FALSE(HookMessage(nullptr, a.Hwnd(), kPing));
    // While called, a client may unhook another one, then itself (the last hook) and destroy the window.
    EXPECT_TRUE(UnhookMessage(&before, a.Hwnd(), WM_APP + 2));
    ASSERT_TRUE(HookMessage(&first, a.Hwnd(), kPing));
    first.whileCalled = [&] { UnhookMessage(&after, a.Hwnd(), kPing); };
    ::SendMessageA(a.Hwnd(), kPing, 0, 0);
    const HWND window = a.Hwnd();
    first.whileCalled = [&] {
        UnhookMessage(&first, window, kPing);
        ::DestroyWindow(window);
    };
    ::SendMessageA(window, kPing, 0, 0);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(g_order, "WbWabWaWa1W1");
}

TEST(WindowTag, TheTagOfThisProgramsDeskWithValueOne) {
    EXPECT_EQ(DeskNum(), 3);
    TestWindow window;
    TagWindow(window.Hwnd());
    EXPECT_EQ(::GetPropA(window.Hwnd(), "Tavik3_APPLICATION"), reinterpret_cast<HANDLE>(1));
}

TEST(SetAppIcon, TheWindowAndItsTopLevelOwnerGetItAndAMissingGroupClearsTheIcons) {
    TestWindow top, middle(top.Hwnd()), window(middle.Hwnd()), alone;
    SetAppIcon(window.Hwnd(), "AAA", true);
    EXPECT_EQ(top.iconSends, (std::vector<WPARAM>{ICON_BIG, ICON_SMALL}));
    EXPECT_TRUE(middle.iconSends.empty());
    EXPECT_EQ(window.iconSends, (std::vector<WPARAM>{ICON_BIG, ICON_SMALL}));
    SetAppIcon(alone.Hwnd(), "AAA", true);  // its own top-level owner: gets each icon twice
    EXPECT_EQ(alone.iconSends, (std::vector<WPARAM>{ICON_BIG, ICON_BIG, ICON_SMALL, ICON_SMALL}));
    ASSERT_NE(::SendMessageA(alone.Hwnd(), WM_GETICON, ICON_SMALL, 0), 0);
    SetAppIcon(alone.Hwnd(), "NOSUCHGROUP", false);
    EXPECT_EQ(::SendMessageA(alone.Hwnd(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(::SendMessageA(alone.Hwnd(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST(KeyText, NamesByScanCodeWithExtendedKeysApartFromTheirKeypadTwins) {
    EXPECT_EQ(KeyText('1'), "1");
    EXPECT_EQ(KeyText(VK_F1), "F1");
    EXPECT_EQ(KeyText(0xFF), "");
    EXPECT_NE(KeyText(VK_PAUSE), KeyText(VK_NUMLOCK));  // one scan code, told apart by the extended flag
    const WORD pairs[][2] = {{VK_LEFT, VK_NUMPAD4}, {VK_UP, VK_NUMPAD8}, {VK_INSERT, VK_NUMPAD0}, {VK_HOME, VK_NUMPAD7},
                             {VK_END, VK_NUMPAD1}, {VK_PRIOR, VK_NUMPAD9}, {VK_NEXT, VK_NUMPAD3}};
    for (const auto &pair : pairs)
        EXPECT_NE(KeyText(pair[0]), KeyText(pair[1])) << pair[0];
}
