// The hub's one window: never shown, tagged for the hub relay, owner of the hot keys, the 47 events and the
// four desktops. Start-up, the hot keys, the copy-data commands and shutdown all run on its thread.
#pragma once
#include "Handles.h"
#include "MessageHook.h"
#include "Supervisor.h"
#include "Window.h"
#include "cDesktop.h"
#include "core/EventNames.h"
#include "core/HubState.h"

#include <array>
#include <memory>

class frmMulti : public Window, public ISubclass, public IHubPaths {
public:
    frmMulti();
    ~frmMulti() override;
    bool Created() const { return Hwnd() != nullptr; }
    // The start-up sequence; false when it failed and the hub must end.
    bool Form_Load();
    // Runs the shutdown sequence once and destroys the window, which ends the message loop.
    void Unload();

    std::wstring GetExplorerPath() const override { return m_explorerPath; }
    std::wstring GetSwitcherPath(int16_t DesktopNumber) const override;
    std::wstring GetEventHandlerPath(int16_t DesktopNumber) const override;
    void ProcessStarted(cDesktop &desktop, const std::wstring &path, KernelHandle process) override;
    static std::string GetTheWindowsDirectory();
    // The processes the hub's message loop waits on beside its messages.
    IWaitList &Supervision() { return m_supervisor; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;
    int32_t ISubclass_MsgResponse() const override { return MsgResponseBefore; }

    bool CreateEvents();
    bool CreateDesktops();
    // After a failed start-up: ends the switchers and relays already started, and waits for them, so that
    // nothing holds the events when the hub has gone.
    void SetCloseEvents();
    void Form_QueryUnload();
    LRESULT OnQueryEndSession();
    void OnEndSession(bool ending);
    void OnHotKey(int32_t id);
    void OnCopyData(const COPYDATASTRUCT *data);
    void SwitchToDesktop(int16_t desk);
    void SignalSwitchToDesktop(int16_t DesktopNumber);
    // The switcher asked to leave its desktop did not ask for the switch in time: switch without its picture.
    void OnLeaveTimeout();
    void CancelLeaveWait();
    // False when none of the hot-key values is stored: a first start.
    bool ReadHotKeySettings();
    void RegisterHotKeys();
    // Takes the first set of FirstStartHotKeySets() that Windows grants whole; keys other than the default ones are
    // stored and told once.
    void RegisterFirstStartHotKeys();
    // Registers the set's five keys and answers the ids refused; when any is, lets go of the others again.
    std::vector<int32_t> RegisterWhole(const HotKeySet &set);
    BOOL RegisterHotKey(int32_t id, const HotKeySet &set);
    void TellChosenHotKeys(const std::vector<int32_t> &refusedDefaultIds);
    // Writes the keys as the control panel does, so that it shows them and later starts keep them.
    bool StoreHotKeys() const;
    // Rewrites which ids Windows gave the hub, for the control panel.
    void PublishHeldHotKeys() const;
    void UnregisterHotKeys();
    void ReportDesktopFailure(int16_t desk);

    DesktopState m_state;
    std::array<KernelHandle, EventCount + 1> m_eventHandles;  // slot i for event index i; slot 0 unused
    std::array<std::unique_ptr<cDesktop>, 5> m_desktops;      // slots 1..4
    HotKeySettings m_hotKeys;
    std::array<BOOL, HotKeyCount + 1> m_hotKeyRegistered = {};  // ids 1..5
    std::wstring m_programDirectory;
    std::wstring m_explorerPath;
    int16_t m_shownDesktop = 1;  // the desktop the display was last switched to
    Supervisor m_supervisor;
    int16_t m_leaveTarget = 0;  // the desktop a switcher was asked to leave for and has not asked for yet
    int16_t m_leaveEvent = 0;   // the "ToDesktop" event set for it
    bool m_hooked = false;
    bool m_unloading = false;
};
