// The message hook: routing to the right client, the window's own handling, unhooking, and clients that
// unhook or destroy the window, or throw, while they are called.
#include "MessageHook.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kOther = WM_APP + 2;

std::string g_order;  // who handled a message, in order; reset by each test

class PlainWindow : public Window {
public:
    PlainWindow() { CreateBound("VarnelTestHookWindow", 0, "hook", WS_OVERLAPPED, 0, 0, 50, 50, nullptr); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPing || message == kOther) {
            g_order += "W";
            return 42;
        }
        return Default(message, wParam, lParam);
    }
};

class Client : public ISubclass {
public:
    Client(char mark, int32_t response) : m_mark(mark), m_response(response) {}
    int calls = 0;
    HWND lastWindow = nullptr;
    std::function<void()> whileCalled;

    LRESULT ISubclass_WindowProc(HWND hWnd, UINT, WPARAM, LPARAM) override {
        ++calls;
        lastWindow = hWnd;
        g_order += m_mark;
        if (whileCalled)
            whileCalled();
        return 0;
    }
    int32_t ISubclass_MsgResponse() const override { return m_response; }

private:
    char m_mark;
    int32_t m_response;
};

}  // namespace

TEST(MessageHook, OnlyTheHookedMessageOfTheHookedWindowArrives) {
    g_order.clear();
    PlainWindow a, b;
    Client client('c', MsgResponseBefore);
    ASSERT_TRUE(HookMessage(&client, a.Hwnd(), kPing));
    EXPECT_EQ(::SendMessageA(b.Hwnd(), kPing, 0, 0), 42);
    EXPECT_EQ(::SendMessageA(a.Hwnd(), kOther, 0, 0), 42);
    EXPECT_EQ(client.calls, 0);
    EXPECT_EQ(::SendMessageA(a.Hwnd(), kPing, 0, 0), 42);  // the window's own answer stands
    EXPECT_EQ(client.calls, 1);
    EXPECT_EQ(client.lastWindow, a.Hwnd());
    EXPECT_EQ(g_order, "WWcW");
    EXPECT_TRUE(UnhookMessage(&client, a.Hwnd(), kPing));
}

TEST(MessageHook, BeforeAndAfterTheWindowsOwnHandling) {
    g_order.clear();
    PlainWindow a;
    Client before('b', MsgResponseBefore), after('a', MsgResponseAfter);
    ASSERT_TRUE(HookMessage(&after, a.Hwnd(), kPing));
    ASSERT_TRUE(HookMessage(&before, a.Hwnd(), kPing));
    ::SendMessageA(a.Hwnd(), kPing, 0, 0);
    EXPECT_EQ(g_order, "bWa");
    // A client that throws (out of memory in its work) is skipped; nothing crosses into user32.
    before.whileCalled = [] { throw std::bad_alloc(); };
    EXPECT_EQ(::SendMessageA(a.Hwnd(), kPing, 0, 0), 42);
    EXPECT_EQ(g_order, "bWabWa");
    UnhookMessage(&before, a.Hwnd(), kPing);
    UnhookMessage(&after, a.Hwnd(), kPing);
}

TEST(MessageHook, AfterUnhookingNothingMoreArrives) {
    g_order.clear();
    PlainWindow a;
    Client client('c', MsgResponseBefore);
    ASSERT_TRUE(HookMessage(&client, a.Hwnd(), kPing));
    ASSERT_TRUE(HookMessage(&client, a.Hwnd(), kOther));
    ASSERT_TRUE(HookMessage(&client, a.Hwnd(), kPing));  // once is enough
    ::SendMessageA(a.Hwnd(), kPing, 0, 0);
    EXPECT_EQ(client.calls, 1);
    EXPECT_TRUE(UnhookMessage(&client, a.Hwnd(), kOther));
    EXPECT_TRUE(UnhookMessage(&client, a.Hwnd(), kPing));
    EXPECT_FALSE(UnhookMessage(&client, a.Hwnd(), kPing));
    ::SendMessageA(a.Hwnd(), kPing, 0, 0);
    ::SendMessageA(a.Hwnd(), kOther, 0, 0);
    EXPECT_EQ(client.calls, 1);
    EXPECT_EQ(g_order, "cWWW");
}

TEST(MessageHook, AClientMayUnhookOthersOrDestroyTheWindowWhileCalled) {
    g_order.clear();
    PlainWindow a;
    Client first('1', MsgResponseBefore), second('2', MsgResponseBefore);
    first.whileCalled = [&] { UnhookMessage(&second, a.Hwnd(), kPing); };
    ASSERT_TRUE(HookMessage(&first, a.Hwnd(), kPing));
    ASSERT_TRUE(HookMessage(&second, a.Hwnd(), kPing));
    ::SendMessageA(a.Hwnd(), kPing, 0, 0);
    EXPECT_EQ(first.calls, 1);
    EXPECT_EQ(second.calls, 0);

    const HWND window = a.Hwnd();
    first.whileCalled = [&] {
        UnhookMessage(&first, window, kPing);
        ::DestroyWindow(window);
    };
    ::SendMessageA(window, kPing, 0, 0);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(first.calls, 2);
}

TEST(MessageHook, RefusesWindowsOfOtherThreadsAndNoWindow) {
    Client client('c', MsgResponseBefore);
    EXPECT_FALSE(HookMessage(&client, ::GetDesktopWindow(), kPing));
    EXPECT_FALSE(HookMessage(&client, nullptr, kPing));
    EXPECT_FALSE(HookMessage(nullptr, ::GetDesktopWindow(), kPing));
}
