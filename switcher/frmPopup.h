// The popup beside the notification area that lists the four desktops; it hides when it loses activation.
#pragma once
#include "MessageHook.h"
#include "Window.h"

#include <array>
#include <string>

class HiddenForm;

class frmPopup : public Window, public ISubclass {
public:
    explicit frmPopup(HiddenForm &hiddenForm);
    ~frmPopup() override = default;
    bool Load();
    void Unload();
    void Show();
    // Sizes the popup to the current desktop names and applies the transparency setting.
    void SetFormName();
    // Against the taskbar, with a corner at the pointer.
    void PositionForm();

    LRESULT ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;
    int32_t ISubclass_MsgResponse() const override { return MsgResponseBefore; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Default(message, wParam, lParam);
    }
    // Width of the widest row text, two blanks + name + three blanks, in Tahoma 14 points.
    int WidestNameWidth() const;

    HiddenForm &m_hiddenForm;
    bool m_transparencyApplied = false;
    RECT m_taskbar = {};  // kept from the last positioning while the taskbar cannot be found
};
