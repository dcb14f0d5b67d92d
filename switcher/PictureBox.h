// A child box of a window: a background colour, an optional single-line border, a picture shown unscaled at
// its top-left corner and a line of printed text that stays until it is cleared. Clicks and pointer moves go
// to its owner.
#pragma once
#include "ComPtr.h"
#include "Window.h"
#include "core/Geometry.h"

#include <olectl.h>

#include <string>

class PictureBox;

class PictureBoxEvents {
public:
    virtual void PictureBox_Click(const PictureBox &box) = 0;
    virtual void PictureBox_MouseMove(const PictureBox &box) = 0;

protected:
    ~PictureBoxEvents() = default;
};

class PictureBox : public Window {
public:
    PictureBox() = default;
    ~PictureBox() override = default;
    // Visible; without events its clicks and moves go nowhere.
    bool Create(HWND parent, PictureBoxEvents *events = nullptr);
    void Place(const Box &box);
    void SetVisible(bool visible);
    void SetBorder(bool singleLine);
    void SetBackColor(COLORREF colour);
    COLORREF BackColor() const { return m_backColor; }
    void SetPicture(ComPtr<IPicture> picture);
    IPicture *Picture() const { return m_picture.Get(); }
    // Printed text (in the ANSI code page): one line drawn transparently into `area` with the given font (not
    // owned) and colour, ending in an ellipsis where it does not fit.
    void Print(std::string text, const RECT &area, HFONT font, COLORREF colour);
    void Cls();
    // Words shown centred while the box has no picture.
    void SetPlaceholder(std::string text, HFONT font, COLORREF colour);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint();
    void Paint(HDC dc);
    void OnButtonDown();
    void OnButtonUp(LPARAM lParam);
    void OnMouseMove();

    PictureBoxEvents *m_events = nullptr;
    COLORREF m_backColor = RGB(0, 0, 0);
    ComPtr<IPicture> m_picture;
    std::wstring m_text;
    RECT m_textArea = {};
    HFONT m_font = nullptr;
    COLORREF m_foreColor = RGB(0, 0, 0);
    std::wstring m_placeholder;
    HFONT m_placeholderFont = nullptr;
    COLORREF m_placeholderColor = RGB(255, 255, 255);
    bool m_pressed = false;
};
