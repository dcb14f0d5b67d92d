// The large view: a full-screen window with a picture of each of the four desktops in a 2 x 2 grid under the
// name of this desktop. It publishes the thumbnail size every screenshot is scaled to.
#pragma once
#include "MFreeImage.h"
#include "MessageHook.h"
#include "PictureBox.h"
#include "Window.h"
#include "core/Geometry.h"

#include <array>
#include <string>

class HiddenForm;

class frmLargeView : public Window, public ISubclass {
public:
    explicit frmLargeView(HiddenForm &hiddenForm);
    ~frmLargeView() override = default;
    // Created hidden, named, laid out, with this desktop selected.
    bool Load();
    void Unload();
    void Show();
    // Draws this desktop's name and applies the transparency setting.
    void SetFormName();
    // This desktop's own picture, from a capture (consumed).
    void UpdateImage(Image hDIB);
    // Another desktop's picture, from its screenshot file; a missing or unreadable file changes nothing (false).
    bool UpdateScreenShot(int16_t deskNum);
    int32_t picWidth() const { return m_layout.picWidth; }
    int32_t picHeight() const { return m_layout.picHeight; }
    IPicture *DesktopPicture(int16_t deskNum) const { return m_desk1[static_cast<size_t>(deskNum - 1)].Picture(); }

    LRESULT ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;
    int32_t ISubclass_MsgResponse() const override { return MsgResponseBefore; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint();
    void Paint(HDC dc);
    void ArrangeFrames();
    void ShowSelection();

    HiddenForm &m_hiddenForm;
    LargeViewLayout m_layout;
    std::array<PictureBox, 4> m_back1;
    std::array<PictureBox, 4> m_desk1;
    int16_t m_selection = 0;
    bool m_transparencyApplied = false;
    std::string m_shownName;
};
