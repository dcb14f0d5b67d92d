// The whole road of a hot-key switch with the real hub, relays and switchers, a dead switcher started again and a
// dead hub ending the set, followed through the programs' traces.
#include "AnsiText.h"
#include "HubRun.h"
#include "SwitcherTestSupport.h"
#include "ViewFixture.h"

#include <gtest/gtest.h>

TEST(SwitcherRoad, AHotKeySwitchLeavesAPictureAndTheRoadSurvivesADeadSwitcherAndEndsWithTheHub) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
    DebugMonitor monitor;
    ASSERT_TRUE(monitor.Active());
    TempFolder folder;
    HubRun hub(folder);
    ASSERT_TRUE(HubRun::Populate(folder, {L"varnelerror"}));
    const std::string programs[] = {"Tavik1", "Tavik2", "Tavik3", "Tavik4", "Pellum1", "Pellum2", "Pellum3", "Pellum4",
                                    "VarnelEventHandler"};
    ASSERT_TRUE(folder.Add(ProgramFolder() + L"\\FreeImage.dll", L"FreeImage.dll"));
    for (const std::string &program : programs)
        ASSERT_TRUE(folder.Add(ProgramFolder() + L"\\" + ToWide(program) + L".exe", ToWide(program) + L".exe"));
    ASSERT_TRUE(hub.Start(monitor));
    for (int desk = 1; desk <= 4; ++desk)
        ASSERT_TRUE(monitor.WaitFor("Tavik" + std::to_string(desk) + ": started", 1, 30000)) << desk;

    // Desktop 1 -> 3 with the default hot key, an orange window over the bottom-right quarter of the screen (the
    // shells' windows open at the top left).
    const COLORREF orange = RGB(255, 160, 0);
    {
        const ColourWindow marker(orange, {640, 512, 1280, 1024});
        PressHotKey(MOD_WIN, '3');
        EXPECT_TRUE(monitor.WaitFor("cDesktop3: switched to desk3", 2));
    }
    const std::string file = ToAnsi(folder.File(L"desktop1.bmp"));
    ASSERT_TRUE(monitor.WaitFor("Tavik1: saved " + file));
    for (int desk : {2, 3, 4})
        EXPECT_TRUE(monitor.WaitFor("Tavik" + std::to_string(desk) + ": reloaded the picture of desktop 1")) << desk;
    ASSERT_EQ(FileBmp(folder.File(L"desktop1.bmp")), Thumbnail);
    // The picture is the screen's, upright: the window is its bottom-right quarter (blue, green, red in the file).
    const std::string bmp = ReadFileBytes(folder.File(L"desktop1.bmp"));
    const auto orangeIn = [&](int left, int top, int right, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                count += bmp.compare(Thumbnail.offset + (Thumbnail.height - 1 - y) * BmpRowStride(Thumbnail.width) + 3 * x,
                                     3, "\x00\xA0\xFF", 3) == 0;
        }
        return count;
    };
    EXPECT_GT(orangeIn(280, 216, 559, 431), 270 * 205);
    EXPECT_EQ(orangeIn(0, 0, 559, 206) + orangeIn(0, 206, 270, 431), 0);
    EXPECT_TRUE(monitor.Matching("Tavik1: reloaded").empty());
    for (const wchar_t *other : {L"desktop2.bmp", L"desktop3.bmp", L"desktop4.bmp"})
        EXPECT_FALSE(FileExists(folder.File(other))) << other;

    // Back on desktop 1, its switcher dies: the next hot key still switches, and the switcher is back with its icon.
    PressHotKey(MOD_WIN, '1');
    ASSERT_TRUE(monitor.WaitFor("cDesktop1: switched to Default", 2));
    ASSERT_TRUE(KillProcess(L"Tavik1.exe"));
    PressHotKey(MOD_WIN, '3');
    EXPECT_TRUE(monitor.WaitFor("cDesktop3: switched to desk3", 3, 3000));
    EXPECT_TRUE(monitor.WaitFor("Tavik1: started", 2, 30000));
    const HWND tavik1 = FindTaggedWindow("Tavik1_APPLICATION");
    EXPECT_TRUE(tavik1 != nullptr && ShellHadIcon(tavik1));
    // And the road through it is the usual one again: it leaves its picture.
    PressHotKey(MOD_WIN, '1');
    ASSERT_TRUE(monitor.WaitFor("cDesktop1: switched to Default", 3));
    const size_t saved = monitor.Matching("Tavik1: saved " + file).size();
    PressHotKey(MOD_WIN, '3');
    EXPECT_TRUE(monitor.WaitFor("cDesktop3: switched to desk3", 4));
    EXPECT_TRUE(monitor.WaitFor("Tavik1: saved " + file, saved + 1));

    // The hub dies on desktop 3: the set ends with it, each program saying so, and desktop 1 is shown again.
    ASSERT_TRUE(hub.Kill());
    for (const std::string &program : programs)
        EXPECT_TRUE(WaitFor([&] { return ProcessIdsOf(ToWide(program + ".exe")).empty(); })) << program;
    const std::string log = ReadFileBytes(folder.File(L"VarnelErrors.txt"));
    for (const std::string &program : programs) {
        const char *const role = program.starts_with("Tavik") ? "switcher" : "relay";
        EXPECT_NE(log.find(" " + program + ": The hub ended with exit code 1; the " + role + " ends"), log.npos)
            << program << "\n" << log;
    }
    // Wine names "Default" as the input desktop whatever was shown, so there switcher 1 is the one that acts.
    EXPECT_NE(log.find(" Tavik1: The hub ended with exit code 1; the switcher ends and shows desktop 1 again\r\n"),
              std::string::npos) << log;
    EXPECT_EQ(log.find("could not show desktop 1"), std::string::npos) << log;

    hub.Stop();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
}
