// A child box of a window: a background colour and, optionally, a picture shown unscaled at its top-left corner.
#pragma once
#include "ComPtr.h"
#include "Window.h"
#include "core/Geometry.h"

#include <olectl.h>

class PictureBox : public Window {
public:
    PictureBox() = default;
    ~PictureBox() override = default;
    bool Create(HWND parent);
    // Moves and sizes the box and rounds its corners.
    void Place(const Box &box);
    void SetBackColor(COLORREF colour);
    COLORREF BackColor() const { return m_backColor; }
    void SetPicture(ComPtr<IPicture> picture);
    IPicture *Picture() const { return m_picture.Get(); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint();
    void Paint(HDC dc);

    COLORREF m_backColor = RGB(0, 0, 0);
    ComPtr<IPicture> m_picture;
};
