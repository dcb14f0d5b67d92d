// The large view: a full-screen window with a picture of each of the four desktops in a 2 x 2 grid under the
// name of this desktop; the selected desktop's frame is red. It publishes the thumbnail size every screenshot
// is scaled to.
#pragma once
#include "Handles.h"
#include "MFreeImage.h"
#include "MessageHook.h"
#include "PictureBox.h"
#include "Window.h"
#include "cDisplayChange.h"
#include "core/Geometry.h"

#include <array>
#include <memory>
#include <string>

class HiddenForm;

class frmLargeView : public Window, public ISubclass, public PictureBoxEvents, public DisplayChangeEvents {
public:
    explicit frmLargeView(HiddenForm &hiddenForm);
    ~frmLargeView() override;
    // Created hidden, named, laid out, with this desktop selected.
    bool Load();
    void Unload();
    // Laid out again first when the screen's size or DPI is not the one it was laid out for.
    void Show();
    // Hides the view (at the bottom of the z-order) with this desktop selected again.
    void HideMe();
    // Draws this desktop's name and applies the transparency setting.
    void SetFormName();
    // This desktop's own picture, from a capture (consumed).
    void UpdateImage(Image hDIB);
    // Another desktop's picture, from its screenshot file; a missing or unreadable file changes nothing (false).
    bool UpdateScreenShot(int16_t deskNum);
    int32_t picWidth() const { return m_layout.picWidth; }
    int32_t picHeight() const { return m_layout.picHeight; }
    int16_t Selection() const { return m_selection; }
    IPicture *DesktopPicture(int16_t deskNum) const { return m_desk1[static_cast<size_t>(deskNum - 1)].Picture(); }
    const PictureBox &Back1(size_t index) const { return m_back1[index]; }
    const PictureBox &Desk1(size_t index) const { return m_desk1[index]; }

    LRESULT ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;
    int32_t ISubclass_MsgResponse() const override { return MsgResponseBefore; }
    void PictureBox_Click(const PictureBox &box) override;
    void PictureBox_MouseMove(const PictureBox &) override {}
    void MonitorDisplay_ColourDepthChange(int32_t, int32_t) override {}
    void MonitorDisplay_WindowSizeChange(int32_t lNewWidth, int32_t lNewHeight, int32_t lOldWidth,
                                         int32_t lOldHeight) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint();
    void Paint(HDC dc);
    ScreenFit ScreenNow() const;
    void ArrangeFrames();
    void ShowSelection();
    // The words in the frame of a desktop whose picture has not come yet.
    void ShowPlaceholders();
    void Desk1_Click(int16_t index);
    void Form_Click();
    void Form_KeyDown(WPARAM keyCode);
    // Picks desktop index + 1: another desktop is switched to, with this desktop's shown picture saved.
    void Pick(int16_t index);
    void OnButtonDown();
    void OnButtonUp();

    HiddenForm &m_hiddenForm;
    LargeViewLayout m_layout;
    ScreenFit m_laidOutFor;
    std::array<PictureBox, 4> m_back1;
    std::array<PictureBox, 4> m_desk1;
    int16_t m_selection = 0;
    bool m_transparencyApplied = false;
    bool m_pressed = false;
    std::wstring m_shownName;
    int32_t m_dpi = 0;
    GdiObject<HFONT> m_nameFont;
    GdiObject<HFONT> m_placeholderFont;
    std::unique_ptr<cDisplayChange> m_monitorDisplay;
};
