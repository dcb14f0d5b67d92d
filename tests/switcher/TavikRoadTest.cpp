// The whole road of a hot-key switch with the real hub, relays and switchers: the switcher of the desktop left
// asks the hub, writes its picture and tells the other three, which reload it.
#include "AnsiText.h"
#include "HubRun.h"
#include "SwitcherTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool Populate(const TempFolder &folder) {
    bool ok = HubRun::Populate(folder, {L"varnelerror"}) &&
              folder.Add(ProgramFolder() + L"\\FreeImage.dll", L"FreeImage.dll") &&
              folder.Add(ProgramFolder() + L"\\VarnelEventHandler.exe", L"VarnelEventHandler.exe");
    for (int desk = 1; desk <= 4; ++desk) {
        const std::wstring n = std::to_wstring(desk);
        ok = folder.Add(ProgramFolder() + L"\\Tavik" + n + L".exe", L"Tavik" + n + L".exe") &&
             folder.Add(ProgramFolder() + L"\\Pellum" + n + L".exe", L"Pellum" + n + L".exe") && ok;
    }
    return ok;
}

}  // namespace

TEST(SwitcherRoad, AHotKeySwitchLeavesAPictureThatTheOtherSwitchersReload) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
    DebugMonitor monitor;
    ASSERT_TRUE(monitor.Active());
    TempFolder folder;
    HubRun hub(folder);
    ASSERT_TRUE(Populate(folder));
    ASSERT_TRUE(hub.Start(monitor));
    for (int desk = 1; desk <= 4; ++desk)
        ASSERT_TRUE(monitor.WaitFor("Tavik" + std::to_string(desk) + ": started", 1, 30000)) << desk;

    // Desktop 1 -> 3 with the default hot key.
    PressHotKey(MOD_WIN, '3');
    EXPECT_TRUE(monitor.WaitFor("cDesktop3: switched to desk3", 2));
    const std::string file = ToAnsi(folder.File(L"desktop1.bmp"));
    ASSERT_TRUE(monitor.WaitFor("Tavik1: saved " + file));
    for (int desk : {2, 3, 4})
        EXPECT_TRUE(monitor.WaitFor("Tavik" + std::to_string(desk) + ": reloaded the picture of desktop 1")) << desk;
    EXPECT_EQ(ReadBmpInfo(ReadFileBytes(folder.File(L"desktop1.bmp"))).width, 559);
    EXPECT_TRUE(monitor.Matching("Tavik1: reloaded").empty());
    for (const wchar_t *other : {L"desktop2.bmp", L"desktop3.bmp", L"desktop4.bmp"})
        EXPECT_FALSE(FileExists(folder.File(other))) << other;

    // Leaving desktop 3 for desktop 2: now switcher 3 writes its picture and the others reload it.
    PressHotKey(MOD_WIN, '2');
    EXPECT_TRUE(monitor.WaitFor("cDesktop2: switched to desk2", 2));
    for (int desk : {1, 2, 4})
        EXPECT_TRUE(monitor.WaitFor("Tavik" + std::to_string(desk) + ": reloaded the picture of desktop 3")) << desk;
    EXPECT_TRUE(FileExists(folder.File(L"desktop3.bmp")));

    hub.Stop();
    if (::testing::Test::HasFailure()) {
        for (const auto &line : monitor.Lines())
            std::printf("trace %lu: %s\n", line.processId, line.text.c_str());
    }
    for (int desk = 1; desk <= 4; ++desk)
        EXPECT_TRUE(FindTaggedWindow("Tavik" + std::to_string(desk) + "_APPLICATION") == nullptr) << desk;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
}
