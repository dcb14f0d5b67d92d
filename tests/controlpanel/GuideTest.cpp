// The Help menu's "Online user's guide" opens the guide that ships beside the program, with the shell's
// "open" action.
#include "AnsiText.h"
#include "ControlIds.h"
#include "PanelDriver.h"

#include <gtest/gtest.h>

namespace {

// A viewer for .html files of the test's own (the prefix has none), removed again afterwards.
class HtmlViewer {
public:
    explicit HtmlViewer(const std::wstring &command) {
        m_owned = ::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".html", 0, KEY_READ, &m_probe) != ERROR_SUCCESS;
        if (!m_owned) {
            ::RegCloseKey(m_probe);
            return;
        }
        ::RegSetValueW(HKEY_CLASSES_ROOT, L".html", REG_SZ, L"VarnelTest.Guide", 0);
        ::RegSetValueW(HKEY_CLASSES_ROOT, L"VarnelTest.Guide\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    }
    ~HtmlViewer() {
        if (!m_owned)
            return;
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "VarnelTest.Guide");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, "VarnelTest.Guide");
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".html");
    }
    HtmlViewer(const HtmlViewer &) = delete;
    HtmlViewer &operator=(const HtmlViewer &) = delete;
    bool Owned() const { return m_owned; }

private:
    HKEY m_probe = nullptr;
    bool m_owned = false;
};

}  // namespace

TEST(GuideTest, HelpMenuOpensTheGuideBesideTheProgram) {
    SettingsSandbox sandbox;
    TempFolder folder;
    ASSERT_TRUE(folder.Add(TestBinDir() + L"\\recorder.exe", L"guideviewer.exe"));
    const HtmlViewer viewer(L"\"" + folder.File(L"guideviewer.exe") + L"\" \"%1\"");
    ASSERT_TRUE(viewer.Owned()) << "this prefix already has a viewer for .html files";
    PanelProcess panel(folder);
    ASSERT_TRUE(panel.Started());
    const std::string guide = ReadFileBytes(folder.File(L"VarnelGuide.html"));
    EXPECT_NE(guide.find("Record key"), std::string::npos) << "the guide explains the shortcut keys page";

    ::PostMessageA(panel.Form(), WM_COMMAND, MAKEWPARAM(ControlId::guideurl, 0), 0);
    ASSERT_TRUE(WaitFor([&] { return !RecorderLines(folder, L"guideviewer").empty(); }));
    const std::string line = RecorderLines(folder, L"guideviewer");
    // Built step by step: GCC 12 warns falsely (-Wrestrict) about the one-expression form.
    std::string opened = "\"";
    opened += ToAnsi(folder.File(L"VarnelGuide.html"));
    opened += "\"\r\n";
    ASSERT_GE(line.size(), opened.size());
    EXPECT_EQ(line.substr(line.size() - opened.size()), opened) << line;
}
