// The tray icon against the real shell: the record it hands over, what it does without an owner or icon, and
// how the shell's callbacks become events.
#include "SwitcherTestSupport.h"
#include "TrayIcon.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <utility>

namespace {

class OwnerWindow : public Window {
public:
    OwnerWindow() { CreateBound("VarnelTestTrayOwner", 0, "owner", WS_OVERLAPPED, 0, 0, 0, 0, nullptr); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Default(message, wParam, lParam);
    }
};

class Listener : public TrayIconEvents {
public:
    std::string heard;
    std::function<void()> whileHandling;  // runs once, in the next event's handler
    void SysTray_MouseDown(int16_t button) override { Hear("D", button); }
    void SysTray_MouseUp(int16_t button) override { Hear("U", button); }
    void SysTray_MouseDblClick(int16_t button) override { Hear("C", button); }

private:
    void Hear(const char *what, int16_t button) {
        heard += what + std::to_string(button) + " ";
        if (whileHandling)
            std::exchange(whileHandling, nullptr)();
    }
};


HICON SomeIcon() {
    return ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

}  // namespace

TEST(TrayIcon, TheRecordHandedToTheShell) {
    const KeeperIcon keeper;
    OwnerWindow owner;
    Listener listener;
    TrayIcon tray(listener);
    EXPECT_EQ(tray.State(), TrayIcon::StateRemoved);
    EXPECT_EQ(tray.Tooltip(), "");
    tray.SetOwnerForm(owner.Hwnd());
    tray.SetIcon(SomeIcon());
    const std::string sixtyThree = "Desktop " + std::string(52, 'n') + " 63";
    tray.SetTooltip(sixtyThree);
    EXPECT_EQ(tray.Tooltip(), sixtyThree);

    EXPECT_NE(tray.Add(), 0);
    EXPECT_EQ(tray.State(), TrayIcon::StateAdded);
    const NOTIFYICONDATAA &record = tray.NotifyData();
    EXPECT_EQ(record.cbSize, 88u);
    EXPECT_EQ(record.hWnd, owner.Hwnd());
    EXPECT_EQ(record.uID, 1u);
    EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(record.hIcon, SomeIcon());
    EXPECT_EQ(std::string(record.szTip), sixtyThree);

    tray.SetTooltip(sixtyThree + "XYZ");
    EXPECT_EQ(tray.Tooltip(), sixtyThree + "XYZ");                // kept whole; only the record is cut
    EXPECT_EQ(std::string(tray.NotifyData().szTip), sixtyThree);  // assigning does not touch the record
    EXPECT_TRUE(tray.Modify());
    EXPECT_EQ(tray.State(), TrayIcon::StateModified);
    EXPECT_EQ(std::string(tray.NotifyData().szTip), sixtyThree);
    EXPECT_EQ(tray.NotifyData().szTip[63], '\0');

    tray.Remove();
    EXPECT_EQ(tray.State(), TrayIcon::StateRemoved);
    EXPECT_FALSE(ShellHadIcon(owner.Hwnd()));
}

TEST(TrayIcon, WithoutOwnerOrIconNothingReachesTheShell) {
    OwnerWindow owner;
    Listener listener;
    TrayIcon tray(listener);
    tray.SetTooltip("tip");
    tray.SetIcon(SomeIcon());
    EXPECT_EQ(tray.Add(), 0);
    EXPECT_FALSE(tray.Modify());
    EXPECT_EQ(tray.State(), TrayIcon::StateRemoved);

    tray.SetIcon(nullptr);
    tray.SetOwnerForm(owner.Hwnd());
    EXPECT_EQ(tray.Add(), 0);
    EXPECT_EQ(tray.State(), TrayIcon::StateRemoved);
    EXPECT_FALSE(ShellHadIcon(owner.Hwnd()));
}

TEST(TrayIcon, RemoveTakesAwayTheIconOfTheLastAddEvenAfterTheOwnerChanged) {
    const KeeperIcon keeper;
    OwnerWindow first, second;
    Listener listener;
    TrayIcon tray(listener);
    tray.SetOwnerForm(first.Hwnd());
    tray.SetIcon(SomeIcon());
    tray.SetTooltip("first");
    ASSERT_NE(tray.Add(), 0);
    tray.SetOwnerForm(second.Hwnd());
    tray.Remove();
    EXPECT_FALSE(ShellHadIcon(first.Hwnd()));

    // Added again after the shell lost it (a new taskbar): the same record comes back.
    ASSERT_NE(tray.Add(), 0);
    ASSERT_TRUE(ShellHadIcon(second.Hwnd()));
    EXPECT_NE(tray.Add(), 0);
    EXPECT_EQ(tray.State(), TrayIcon::StateAdded);
    EXPECT_EQ(std::string(tray.NotifyData().szTip), "first");
    tray.Remove();
}

TEST(TrayIcon, ButtonCodesBecomeEventsAndTheRestNothing) {
    Listener listener;
    TrayIcon tray(listener);
    const struct {
        std::vector<UINT> codes;
        std::string heard;
    } cases[] = {
        {{0x201, 0x202}, "D1 U1 "},                      // left click
        {{0x204, 0x205}, "D2 U2 "},                      // right click
        {{0x201, 0x202, 0x203, 0x202}, "D1 U1 C1 U1 "},  // left double click as the shell sends it
        {{0x204, 0x205, 0x206, 0x205}, "D2 U2 C2 U2 "},
        {{0x207, 0x208, 0x209}, ""},  // middle button
        {{0x200, 0x20A, 0}, ""},      // moves, wheel
    };
    for (const auto &c : cases) {
        listener.heard.clear();
        for (UINT code : c.codes)
            tray.OnCallback(code);
        EXPECT_EQ(listener.heard, c.heard) << c.heard;
    }
}

TEST(TrayIcon, ACallbackWhileAnEventIsHandledIsDropped) {
    Listener listener;
    TrayIcon tray(listener);
    listener.whileHandling = [&] { tray.OnCallback(0x205); };  // as if the handler had let messages through
    tray.OnCallback(0x201);
    EXPECT_EQ(listener.heard, "D1 ");
    tray.OnCallback(0x202);
    EXPECT_EQ(listener.heard, "D1 U1 ");

    // A handler that ends the program releases the icon before its callback returns: nothing of it is touched.
    alignas(TrayIcon) unsigned char room[sizeof(TrayIcon)];
    auto *released = new (room) TrayIcon(listener);
    listener.whileHandling = [&] {
        released->~TrayIcon();
        std::memset(room, 0xAB, sizeof room);
    };
    released->OnCallback(0x205);
    EXPECT_EQ(listener.heard, "D1 U1 U2 ");
    EXPECT_EQ(std::count(room, room + sizeof room, 0xAB), static_cast<std::ptrdiff_t>(sizeof room));
}
