// The popup beside the notification area that lists the four desktops, one row each with its name and a digit
// badge; the row under the pointer is highlighted, a click on another desktop's row switches to it. It hides
// when it loses activation.
#pragma once
#include "Handles.h"
#include "MessageHook.h"
#include "PictureBox.h"
#include "Window.h"
#include "core/PopupLayout.h"

#include <array>
#include <string>

class HiddenForm;

class frmPopup : public Window, public ISubclass, public PictureBoxEvents {
public:
    explicit frmPopup(HiddenForm &hiddenForm);
    ~frmPopup() override;
    bool Load();
    void Unload();
    void Show();
    // Sends the popup to the bottom of the z-order and hides it.
    void HideMe();
    // Lays the rows out for the current desktop names and applies the transparency setting.
    void SetFormName();
    // Against the taskbar, with a corner at the pointer; laid out again first when the screen's size or DPI is
    // not the one it was laid out for (it is placed right before it is shown).
    void PositionForm();
    // Which row boxes are seen (0..3 the highlighted looks, 4..7 the normal ones).
    const RowVisibility &Rows() const { return m_rows; }
    const PictureBox &Picture1(size_t index) const { return m_picture1[index]; }
    const PictureBox &Image1(size_t index) const { return m_image1[index]; }
    const PictureBox &Picture2() const { return m_picture2; }

    LRESULT ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;
    int32_t ISubclass_MsgResponse() const override { return MsgResponseBefore; }
    void PictureBox_Click(const PictureBox &box) override;
    void PictureBox_MouseMove(const PictureBox &box) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Picture1_Click(int16_t index);
    void Image1_Click(int16_t index);
    void Picture1_MouseMove(int16_t index);
    void Image1_MouseMove(int16_t index);
    void Picture2_MouseMove();
    void RowClick(int16_t index);
    void Hover(int16_t index);
    void ShowRows(const RowVisibility &rows);
    // The rows' font measure, in twips.
    TextSize MeasureText(std::string_view text) const;
    ScreenFit ScreenNow() const;
    // The font and the badges for `dpi`.
    void UseDpi(int32_t dpi);

    HiddenForm &m_hiddenForm;
    PictureBox m_picture2;
    std::array<PictureBox, 8> m_picture1;
    std::array<PictureBox, 8> m_image1;
    GdiObject<HFONT> m_font;
    int32_t m_dpi = 0;
    ScreenFit m_laidOutFor;
    RowVisibility m_rows = NormalRows;
    bool m_transparencyApplied = false;
    RECT m_taskbar = {};  // kept from the last positioning while the taskbar cannot be found
};
