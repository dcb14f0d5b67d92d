// A plain container window for a page or a group of controls; it hands its controls' commands to its parent,
// so the settings window sees every button however deeply it sits.
#pragma once
#include "Window.h"

class Panel : public Window {
public:
    bool Create(HWND parent, int id, int x, int y, int width, int height, bool visible);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
