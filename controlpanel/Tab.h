// Tab: the owner-drawn tab strip ("ControlPanel.Tab"). It draws into a surface of its own, which keeps the
// picture between repaints, and raises Click after a selection is set and after every mouse press. It takes the
// keyboard focus (a focus cue around the selected tab), and Left and Right select the neighbouring tab.
#pragma once
#include "Handles.h"
#include "TabStrip.h"
#include "Window.h"

#include <functional>
#include <string>

class Tab : public Window {
public:
    bool Create(HWND parent, int id, int x, int y, int width, int height);

    void AddItem(const std::string &caption);
    std::string List(int16_t index) const { return m_strip.List(index); }
    void SetList(int16_t index, const std::string &caption);
    int16_t ListCount() const { return m_strip.ListCount(); }
    int16_t ListIndex() const { return m_strip.ListIndex(); }
    void SetListIndex(int16_t index);
    void reDraw(int16_t index);

    // Colours, style and spacings together; setting them repaints, BackColor becoming the surface's colour.
    const TabLook &Look() const { return m_strip.look; }
    void SetLook(const TabLook &look);
    void SetFont(const LOGFONTA &font);

    std::function<void()> Click;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnSize();
    void OnPaint();
    void OnPrintClient(HDC dc);
    void OnPress(int x);
    void OnKeyDown(WPARAM key);
    void RaiseClick();
    void ClearSurface();
    TabMetrics Measure() const;
    void Render(const std::vector<DrawOp> &ops);

    TabStrip m_strip;
    GdiObject<HFONT> m_font;
    GdiObject<HBITMAP> m_bitmap;  // declared before the DC, so the DC goes first
    MemoryDC m_surface;
    int m_width = 0;
    int m_height = 0;
};
