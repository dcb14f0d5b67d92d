// The display-change monitor on real windows, and the large view laid out again when the resolution really
// changes (on a Wine virtual desktop, where the resolution can be changed).
#include "ViewFixture.h"
#include "cDisplayChange.h"

#include <string>
#include <vector>

namespace {

// A top-level window that counts the display changes its own handling sees.
class Watched : public Window {
public:
    Watched() { CreateBound("VarnelTestWatched", 0, "", WS_POPUP, 0, 0, 10, 10, nullptr); }
    ~Watched() override = default;
    int seen = 0;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DISPLAYCHANGE)
            ++seen;
        return Default(message, wParam, lParam);
    }
};

// Writes down each event with what the monitor answers while it is raised.
class Listener : public DisplayChangeEvents {
public:
    void MonitorDisplay_ColourDepthChange(int32_t lNew, int32_t lOld) override {
        lines.push_back("depth " + std::to_string(lNew) + " " + std::to_string(lOld) + Answers());
    }
    void MonitorDisplay_WindowSizeChange(int32_t lNewWidth, int32_t lNewHeight, int32_t lOldWidth,
                                         int32_t lOldHeight) override {
        lines.push_back("size " + std::to_string(lNewWidth) + "x" + std::to_string(lNewHeight) + " " +
                        std::to_string(lOldWidth) + "x" + std::to_string(lOldHeight) + Answers());
    }
    std::string Answers() const {
        return monitor == nullptr ? "" : " / " + std::to_string(monitor->ColourDepth()) + " " +
                                             std::to_string(monitor->DisplayWidth()) + "x" +
                                             std::to_string(monitor->DisplayHeight());
    }
    cDisplayChange *monitor = nullptr;
    std::vector<std::string> lines;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST(cDisplayChange, RaisesOnlyWhatChangedWithTheNewValuesAlreadyHeld) {
    Listener listener;
    cDisplayChange monitor(listener);
    listener.monitor = &monitor;
    // Not attached: measured (Xvfb at 24 bits shows as 32).
    EXPECT_EQ(monitor.ColourDepth(), 32);
    EXPECT_EQ(monitor.DisplayWidth(), 1280);
    EXPECT_EQ(monitor.DisplayHeight(), 1024);

    auto window = std::make_unique<Watched>();
    monitor.Attach(window->Hwnd());
    ::SendMessageA(window->Hwnd(), WM_DISPLAYCHANGE, 16, MAKELPARAM(1024, 768));
    EXPECT_EQ(listener.lines, (Lines{"depth 16 32 / 16 1280x1024", "size 1024x768 1280x1024 / 16 1024x768"}));
    listener.lines.clear();
    ::SendMessageA(window->Hwnd(), WM_DISPLAYCHANGE, 16, MAKELPARAM(1024, 768));
    EXPECT_EQ(listener.lines, Lines{});
    // The system's own announcement of the (unchanged) real mode.
    EXPECT_EQ(::ChangeDisplaySettingsW(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_TRUE(WaitFor([&] { return listener.lines.size() >= 2; }, 5000));
    EXPECT_EQ(listener.lines, (Lines{"depth 32 16 / 32 1024x768", "size 1280x1024 1024x768 / 32 1280x1024"}));
    // The window's own handling saw every change too.
    EXPECT_EQ(window->seen, 3);

    ::SendMessageA(window->Hwnd(), WM_DISPLAYCHANGE, 8, MAKELPARAM(640, 480));
    listener.lines.clear();
    window.reset();
    EXPECT_EQ(monitor.AttachedWindow(), nullptr);
    // Measured afresh, not the 8 bits of the last report.
    EXPECT_EQ(monitor.ColourDepth(), 32);
    EXPECT_EQ(monitor.DisplayWidth(), 1280);
    EXPECT_EQ(listener.lines, Lines{});
}

TEST(cDisplayChange, ASecondAttachLeavesOnlyTheSecondWindowWatched) {
    Listener listener;
    Watched first, second;
    {
        cDisplayChange monitor(listener);
        monitor.Attach(first.Hwnd());
        monitor.Attach(second.Hwnd());
        EXPECT_EQ(monitor.AttachedWindow(), second.Hwnd());
        ::SendMessageA(first.Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
        EXPECT_EQ(listener.lines, Lines{});
        ::SendMessageA(second.Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
        EXPECT_EQ(listener.lines, Lines{"size 800x600 1280x1024"});
    }
    // Gone, it watches nothing.
    ::SendMessageA(second.Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(640, 480));
    EXPECT_EQ(listener.lines, Lines{"size 800x600 1280x1024"});
    EXPECT_EQ(first.seen, 1);
    EXPECT_EQ(second.seen, 2);
}

namespace {

class LargeViewDisplayChangeTest : public ViewFixture {
protected:
    static constexpr const char *kDesktop = "VarnelViewsDisplay";
    void SetUp() override {
        ViewFixture::SetUp();
        m_screen = {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        // Wine makes a desktop named here a virtual desktop of that size, whose resolution can be changed.
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(key, kDesktop, 0, REG_SZ, reinterpret_cast<const BYTE *>("1024x768"), 9);
        ::RegCloseKey(key);
        m_desktop.Reset(::CreateDesktopA(kDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr));
        ASSERT_TRUE(m_desktop);
    }
    void TearDown() override {
        // Wine lends the virtual desktop's last mode to the whole session: a program of this desktop sets this
        // screen's own mode again for the tests that follow.
        const std::wstring size = std::to_wstring(m_screen.cx) + L" " + std::to_wstring(m_screen.cy);
        EXPECT_TRUE(WaitFor([&] {
            return RunProcess(TestBinDir() + L"\\display_reset.exe", L"display_reset.exe " + size) ==
                   static_cast<DWORD>(m_screen.cx);
        }));
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            ::RegDeleteValueA(key, kDesktop);
            ::RegCloseKey(key);
        }
        ViewFixture::TearDown();
    }
    // Runs the watcher on the virtual desktop; its lines.
    std::vector<std::string> Watch() {
        const TempFolder folder;
        const std::wstring out = folder.File(L"noted.txt");
        KernelHandle process = StartProcess(TestBinDir() + L"\\view_on_virtual_desktop.exe",
                                            L"view_on_virtual_desktop.exe \"" + out + L"\"", L"VarnelViewsDisplay");
        if (!process || ::WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0)
            return {};
        std::vector<std::string> lines;
        const std::string text = ReadFileBytes(out);
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    Desktop m_desktop;
    SIZE m_screen = {};
};

}  // namespace

TEST_F(LargeViewDisplayChangeTest, ANewResolutionLaysTheFramesOutAgainAndOldPicturesKeepTheirSize) {
    ASSERT_TRUE(WriteFileBytes(ScreenshotPath(1), SolidBmp(431, 303, RGB(0, 160, 0))));
    const std::vector<std::string> expected = {
        "before pic 437 309",
        "before view 0 0 1024 768",
        "before frame1 50 50 487 359",
        "before frame2 537 50 974 359",
        "before frame3 50 409 487 718",
        "before frame4 537 409 974 718",
        "before box 3 3 434 306",
        "before picture1 431 303",
        "before picture3 431 303",
        "change done",
        "after pic 325 225",
        "after view 0 0 800 600",
        "after frame1 50 50 375 275",
        "after frame2 425 50 750 275",
        "after frame3 50 325 375 550",
        "after frame4 425 325 750 550",
        "after box 3 3 322 222",
        // Not rescaled: the pictures keep the old layout's size until they are replaced.
        "after picture1 431 303",
        "after picture3 431 303",
        "restore done",
        "restored pic 437 309",
        "restored view 0 0 1024 768",
        "restored frame1 50 50 487 359",
        "restored frame2 537 50 974 359",
        "restored frame3 50 409 487 718",
        "restored frame4 537 409 974 718",
        "restored box 3 3 434 306",
        "restored picture1 431 303",
        "restored picture3 431 303",
    };
    EXPECT_EQ(Watch(), expected);
}
