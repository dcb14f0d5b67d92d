// The switcher's spine: an invisible window that lives as long as the program. It keeps the settings, the 47
// event handles and the tray icon, carries out the copy-data commands and ends the program.
#pragma once
#include "Handles.h"
#include "MFreeImage.h"
#include "MessageHook.h"
#include "TrayIcon.h"
#include "Window.h"
#include "core/EventNames.h"
#include "frmLargeView.h"
#include "frmMainWindow.h"
#include "frmPopup.h"

#include <array>
#include <memory>
#include <string>

class HiddenForm : public Window, public ISubclass, public TrayIconEvents {
public:
    HiddenForm();
    ~HiddenForm() override;
    // False when the program ended at start (its window could not be made, or an event is missing).
    bool Load();
    // Never refused: unhooks, removes the tray icon, closes the events, unloads the other windows and itself.
    void Unload();
    // The hub died: the switcher of the shown desktop shows desktop 1 again, and every switcher ends.
    void HubEnded(DWORD exitCode);

    // For the popup and the large view.
    void SignalSwitchToDesktop(int16_t DesktopNumber);
    void SignalUpdateScreenShots();
    std::string DesktopName(int16_t Num) const;
    bool GUITrans() const { return m_transparencyOn; }
    // Leaving this desktop for `target`: capture, ask the hub, save the screenshot, tell the other switchers.
    // Every step runs even when an earlier one failed.
    void LeaveDesktop(int16_t target);
    // This desktop's screenshot file from the picture; false, and the previous file kept, when it cannot be.
    bool SaveScreenshot(IPicture *picture);

    const TrayIcon *SysTray() const { return m_sysTray.get(); }
    const frmLargeView &LargeView() const { return m_largeView; }
    const frmPopup &Popup() const { return m_popup; }

    LRESULT ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;
    int32_t ISubclass_MsgResponse() const override { return MsgResponseBefore; }
    void SysTray_MouseDown(int16_t) override {}
    void SysTray_MouseUp(int16_t button) override;
    void SysTray_MouseDblClick(int16_t) override {}

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LoadSettings();
    // Opens all 47; every one that is missing is logged and reported on its own. False when any is missing.
    bool OpenEvents();
    void OnCopyData(LPARAM lParam);
    void OnTrayCallback(LPARAM lParam);
    void OnEndSession(WPARAM ending);
    void OnDpiChanged(int32_t dpi);
    void CarryOut(const Command &command);
    void ReloadScreenShot(int16_t desk);
    // The capture's pixels are held, made ahead of need, by the switcher of the shown desktop only: it is the one
    // that captures at the next hot key; the others would hold a screen's worth of memory for nothing.
    void HoldCaptureIfShown();

    UINT m_taskbarCreatedMessage = 0;
    std::array<KernelHandle, EventCount> m_eventHandles;  // slot i - 1 for event index i
    std::array<std::string, 4> m_desktopNames;
    bool m_transparencyOn = true;
    frmMain m_main;
    frmLargeView m_largeView;
    frmPopup m_popup;
    std::unique_ptr<TrayIcon> m_sysTray;
    ScreenCapture m_capture;
};
