#include "frmMulti.h"

#include "AnsiText.h"
#include "AppIcon.h"
#include "KeyText.h"
#include "Log.h"
#include "Registry.h"
#include "frmMain.h"

#include <algorithm>

namespace {

constexpr UINT_PTR kLeaveTimer = 1;
// A switcher answers within a capture and a set (tens of ms); past this the user would wait on a dead one.
constexpr UINT kLeaveTimeoutMs = 500;
// A relay looks up to ten seconds after its start for a switcher still starting, then may wait five seconds
// for the switcher's answer.
constexpr DWORD kEndWaitMs = 16000;

bool SettingsKeyReady() {
    return Registry::KeyExists(HKEY_CURRENT_USER, Registry::SettingsKey) ||
           Registry::CreateKey(HKEY_CURRENT_USER, Registry::SettingsKey);
}

}  // namespace

frmMulti::frmMulti() : m_programDirectory(ProgramDirectory()) {
    // An ordinary top-level window, never shown: the hub relay finds it among the desktop's windows.
    CreateBound("VarnelHub", WS_EX_TOOLWINDOW, "Varnel", WS_OVERLAPPED, 0, 0, 0, 0, nullptr);
}

frmMulti::~frmMulti() {
    Unload();
}

std::wstring frmMulti::GetSwitcherPath(int16_t DesktopNumber) const {
    return SwitcherPath(m_programDirectory, DesktopNumber);
}

std::wstring frmMulti::GetEventHandlerPath(int16_t DesktopNumber) const {
    return EventHandlerPath(m_programDirectory, DesktopNumber);
}

void frmMulti::ProcessStarted(cDesktop &desktop, const std::wstring &path, KernelHandle process) {
    m_supervisor.Adopt(desktop, path, std::move(process), path == m_explorerPath);
}

std::string frmMulti::GetTheWindowsDirectory() {
    char buffer[250] = {};
    const UINT length = ::GetWindowsDirectoryA(buffer, 250);
    return length > 0 && length < 250 ? std::string(buffer, length) : std::string();
}

bool frmMulti::Form_Load() {
    // Before the window is tagged: the earlier set's hub relay hands its "EndApp" to no hub then.
    EndEarlierSet(m_programDirectory);
    TagWindow(Hwnd());
    SetAppIcon(Hwnd(), "AAA", true);
    m_hooked = HookMessage(this, Hwnd(), WM_HOTKEY) && HookMessage(this, Hwnd(), WM_COPYDATA);
    if (!CreateEvents())
        return false;
    if (ReadHotKeySettings())
        RegisterHotKeys();
    else
        RegisterFirstStartHotKeys();
    m_explorerPath = ToWide(GetTheWindowsDirectory()) + L"\\explorer.exe";
    if (!CreateDesktops()) {
        SetCloseEvents();
        return false;
    }
    if (m_desktops[1]->SwitchTo())
        m_shownDesktop = 1;
    else
        LogError("Varnel: Failed to switch to desktop 1");
    m_state.Started(m_shownDesktop);
    Trace("Varnel: started");
    return true;
}

bool frmMulti::CreateEvents() {
    bool allCreated = true;
    for (int16_t index = 1; index <= EventCount; ++index) {
        const std::string name = EventName(index);
        // An event that exists already is opened by the same call, which is as good.
        m_eventHandles[static_cast<size_t>(index)].Reset(::CreateEventA(nullptr, FALSE, FALSE, name.c_str()));
        if (!m_eventHandles[static_cast<size_t>(index)]) {
            LogError("Varnel: Failed to create " + name);
            ReportError(2, "");
            allCreated = false;
        } else {
            // A set left over from before (its relay was gone) would fire as soon as the new relay waits.
            ::ResetEvent(m_eventHandles[static_cast<size_t>(index)].Get());
        }
    }
    return allCreated;
}

void frmMulti::SetCloseEvents() {
    // The user waits on desktop 1, not on the desktop that failed.
    if (m_shownDesktop != 1 && m_desktops[1] && m_desktops[1]->IsOpen() && m_desktops[1]->SwitchTo())
        m_shownDesktop = 1;
    // As the control panel's Shutdown: the relays hand them on to the switchers that have started, then end.
    // The events must outlive that: a relay or switcher still starting opens them only now.
    const int16_t closeVarnel = ShutdownEvents[0];
    for (const int16_t index : ShutdownEvents) {
        if (index != closeVarnel)
            ::SetEvent(m_eventHandles[static_cast<size_t>(index)].Get());
    }
    // The hub relay ends only on the hub's own close event, which comes last.
    m_supervisor.WaitForAll(kEndWaitMs, GetEventHandlerPath(HubDeskNum));
    // The hub's own last: its relay hands it to the hub, which is ending anyway and answers no more.
    ::SetEvent(m_eventHandles[static_cast<size_t>(closeVarnel)].Get());
}

bool frmMulti::CreateDesktops() {
    for (int16_t desk = 1; desk <= 4; ++desk)
        m_desktops[static_cast<size_t>(desk)] = std::make_unique<cDesktop>(*this, desk);
    if (!m_desktops[1]->SetAsDefault()) {
        ReportDesktopFailure(1);
        return false;
    }
    for (int16_t desk = 2; desk <= 4; ++desk) {
        cDesktop &desktop = *m_desktops[static_cast<size_t>(desk)];
        const bool created = desktop.Create(L"desk" + std::to_wstring(desk), desk);
        if (desktop.IsOpen())
            m_shownDesktop = desk;  // Create showed it, whatever became of its programs
        if (!created) {
            ReportDesktopFailure(desk);
            return false;
        }
    }
    return true;
}

void frmMulti::ReportDesktopFailure(int16_t desk) {
    const std::string number = std::to_string(desk);
    LogError("cDesktop" + number + ": " + m_desktops[static_cast<size_t>(desk)]->GetLastError());
    ReportError(3, number);
}

void frmMulti::Unload() {
    if (m_unloading)
        return;
    m_unloading = true;
    Form_QueryUnload();
    if (Hwnd() != nullptr)
        ::DestroyWindow(Hwnd());
}

void frmMulti::Form_QueryUnload() {
    // Programs that end from here on end in order, with their hub.
    m_supervisor.Stop();
    CancelLeaveWait();
    if (m_hooked) {
        UnhookMessage(this, Hwnd(), WM_COPYDATA);
        UnhookMessage(this, Hwnd(), WM_HOTKEY);
        m_hooked = false;
    }
    // Never leave the user on another desktop with nobody left to bring them back.
    if (m_shownDesktop != 1 && m_desktops[1] && m_desktops[1]->IsOpen() && m_desktops[1]->SwitchTo())
        m_shownDesktop = 1;
    for (auto &desktop : m_desktops) {
        if (desktop)
            desktop->ClearUp();
    }
    UnregisterHotKeys();
    // Nobody holds the keys now; a start that ended before registering any finds no key to delete.
    Registry::DeleteKey(HKEY_CURRENT_USER, HubStateKey);
    for (auto &desktop : m_desktops)
        desktop.reset();
    for (auto &handle : m_eventHandles)
        handle.Reset();
}

LRESULT frmMulti::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: Unload(); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_ENDSESSION: OnEndSession(wParam != FALSE); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    case WM_TIMER: if (wParam == kLeaveTimer) OnLeaveTimeout(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

LRESULT frmMulti::OnQueryEndSession() {
    // During a log-off the system ends the programs of the set: they have not died.
    m_supervisor.Hold(true);
    Trace("Varnel: the session may end; programs that end are not started again");
    return TRUE;
}

void frmMulti::OnEndSession(bool ending) {
    if (ending) {
        Unload();
        return;
    }
    m_supervisor.Hold(false);
    // With nothing to watch the loop waits for a posted message only: this one brings it back to the programs.
    ::PostMessageW(Hwnd(), WM_NULL, 0, 0);
    Trace("Varnel: the session goes on; programs that end are started again");
}

LRESULT frmMulti::ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    if (hWnd != Hwnd())
        return 0;
    switch (iMsg) {
    case WM_HOTKEY: OnHotKey(static_cast<int32_t>(wParam)); break;
    case WM_COPYDATA: OnCopyData(reinterpret_cast<const COPYDATASTRUCT *>(lParam)); break;
    default: break;
    }
    return 0;
}

void frmMulti::OnHotKey(int32_t id) {
    const int16_t target = m_state.HotKeyTarget(id);
    if (target != 0)
        SignalSwitchToDesktop(target);
}

void frmMulti::OnCopyData(const COPYDATASTRUCT *data) {
    if (data == nullptr || data->lpData == nullptr)
        return;
    const Command command = ParseCommandWord(static_cast<const char *>(data->lpData), static_cast<long>(data->cbData));
    switch (command.kind) {
    case CommandKind::SwitchToDesktop: SwitchToDesktop(command.desk); break;
    case CommandKind::EndApp: Unload(); break;
    case CommandKind::ReadRegistry:
        ReadHotKeySettings();
        UnregisterHotKeys();
        RegisterHotKeys();
        break;
    default: break;
    }
}

void frmMulti::SwitchToDesktop(int16_t desk) {
    if (desk == m_leaveTarget)
        CancelLeaveWait();
    if (!m_state.WantsSwitch(desk))
        return;
    cDesktop *desktop = m_desktops[static_cast<size_t>(desk)].get();
    // Only a switch Windows made changes what the hot keys take for the shown desktop.
    if (desktop == nullptr || !desktop->SwitchTo()) {
        LogError("Varnel: Failed to switch to desktop " + std::to_string(desk));
        return;
    }
    m_shownDesktop = desk;
    m_state.Switched(desk);
}

void frmMulti::SignalSwitchToDesktop(int16_t DesktopNumber) {
    const int16_t index = PairEventIndex(PairKindToDesktop, m_state.CurrentDesktop(), DesktopNumber);
    // A request still unanswered is overtaken by this one: left set, a relay started again would deliver it.
    if (m_leaveTarget != 0 && m_leaveEvent != index)
        ::ResetEvent(m_eventHandles[static_cast<size_t>(m_leaveEvent)].Get());
    ::SetEvent(m_eventHandles[static_cast<size_t>(index)].Get());
    // Traced after the request: with a debugger listening, a trace costs half a millisecond of the switch.
    Trace("Varnel: hot key asks switcher " + std::to_string(m_state.CurrentDesktop()) + " for desktop " +
          std::to_string(DesktopNumber));
    m_leaveTarget = DesktopNumber;
    m_leaveEvent = index;
    ::SetTimer(Hwnd(), kLeaveTimer, kLeaveTimeoutMs, nullptr);
}

void frmMulti::CancelLeaveWait() {
    if (m_leaveTarget != 0 && Hwnd() != nullptr)
        ::KillTimer(Hwnd(), kLeaveTimer);
    m_leaveTarget = 0;
}

void frmMulti::OnLeaveTimeout() {
    const int16_t target = m_leaveTarget;
    // Nobody took the request (a dead relay): one started again later must not carry it to the switcher.
    ::ResetEvent(m_eventHandles[static_cast<size_t>(m_leaveEvent)].Get());
    CancelLeaveWait();
    if (target == 0 || !m_state.WantsSwitch(target))
        return;
    LogError("Varnel: Switcher " + std::to_string(m_state.CurrentDesktop()) + " did not ask for desktop " +
             std::to_string(target) + " within " + std::to_string(kLeaveTimeoutMs) +
             " ms; switching without its picture");
    SwitchToDesktop(target);
}

bool frmMulti::ReadHotKeySettings() {
    m_hotKeys = HotKeySettings{};
    if (!Registry::KeyExists(HKEY_CURRENT_USER, Registry::SettingsKey))
        return false;
    bool stored = false;
    auto read = [&stored](const std::string &name) -> std::optional<int32_t> {
        stored = Registry::ValueExists(HKEY_CURRENT_USER, Registry::SettingsKey, name) || stored;
        Registry::Value value;
        if (Registry::QueryValue(HKEY_CURRENT_USER, Registry::SettingsKey, name, RegTypeDword, value) &&
            std::holds_alternative<int32_t>(value))
            return std::get<int32_t>(value);
        return std::nullopt;
    };
    m_hotKeys.modifiers = ModifiersOrDefault(read("ShortcutKeyModifiers"));
    for (int32_t id = 1; id <= HotKeyCount; ++id)
        m_hotKeys.keys[static_cast<size_t>(id - 1)] = KeyOrDefault(read(HotKeyValueName(id)), id);
    return stored;
}

BOOL frmMulti::RegisterHotKey(int32_t id, const HotKeySet &set) {
    return ::RegisterHotKey(Hwnd(), id, static_cast<UINT>(set.modifiers) | ModNoRepeat,
                            set.keys[static_cast<size_t>(id - 1)]);
}

void frmMulti::RegisterHotKeys() {
    for (int32_t id = 1; id <= HotKeyCount; ++id) {
        m_hotKeyRegistered[static_cast<size_t>(id)] = RegisterHotKey(id, m_hotKeys);
        if (!m_hotKeyRegistered[static_cast<size_t>(id)]) {
            const uint16_t key = m_hotKeys.keys[static_cast<size_t>(id - 1)];
            const std::string text = HotKeyText(m_hotKeys.modifiers, KeyText(key));
            LogError("Varnel: Failed to register the following hotkey: " + text);
            ReportError(5, text);
        }
    }
    PublishHeldHotKeys();
}

std::vector<int32_t> frmMulti::RegisterWhole(const HotKeySet &set) {
    std::vector<int32_t> refused;
    for (int32_t id = 1; id <= HotKeyCount; ++id) {
        if (!RegisterHotKey(id, set))
            refused.push_back(id);
    }
    for (int32_t id = 1; id <= HotKeyCount && !refused.empty(); ++id) {
        if (std::find(refused.begin(), refused.end(), id) == refused.end())
            ::UnregisterHotKey(Hwnd(), id);
    }
    return refused;
}

void frmMulti::RegisterFirstStartHotKeys() {
    const FirstStartChoice choice = ChooseFirstStartSet([this](const HotKeySet &set) { return RegisterWhole(set); });
    if (!choice.taken) {
        // No set is free whole: the default keys, each refused one reported, as with stored keys.
        RegisterHotKeys();
        return;
    }
    m_hotKeys = FirstStartHotKeySets()[*choice.taken];
    m_hotKeyRegistered.fill(TRUE);
    if (*choice.taken > 0)
        TellChosenHotKeys(choice.refusedDefaultIds);
    PublishHeldHotKeys();
}

void frmMulti::TellChosenHotKeys(const std::vector<int32_t> &refusedDefaultIds) {
    std::array<std::string, HotKeyCount> names;
    std::string keys;
    for (int32_t id = 1; id <= HotKeyCount; ++id) {
        names[static_cast<size_t>(id - 1)] = KeyText(m_hotKeys.keys[static_cast<size_t>(id - 1)]);
        keys += (id > 1 ? ", " : "") + names[static_cast<size_t>(id - 1)];
    }
    std::vector<std::string> refused;
    std::string refusedList;
    for (const int32_t id : refusedDefaultIds) {
        refused.push_back(
            HotKeyText(DefaultHotKeySet.modifiers, KeyText(DefaultHotKeySet.keys[static_cast<size_t>(id - 1)])));
        refusedList += (refusedList.empty() ? "" : ", ") + refused.back();
    }
    const std::string modifiers = ModifierText(m_hotKeys.modifiers);
    if (!StoreHotKeys())
        LogError("Varnel: Failed to store the shortcut keys it took: " + Registry::RegistryErrorText());
    LogError("Varnel: Windows refused the default shortcut keys " + refusedList + "; took " + modifiers + " with " +
             keys + " instead");
    ReportError(9, FirstStartReportText(modifiers, names, refused));
}

bool frmMulti::StoreHotKeys() const {
    if (!SettingsKeyReady())
        return false;
    auto write = [](const std::string &name, int32_t number) {
        uint32_t type = RegTypeDword;
        return Registry::SetValue(HKEY_CURRENT_USER, Registry::SettingsKey, name, type, number);
    };
    bool stored = write("ShortcutKeyModifiers", m_hotKeys.modifiers);
    for (int32_t id = 1; id <= HotKeyCount; ++id)
        stored = write(HotKeyValueName(id), m_hotKeys.keys[static_cast<size_t>(id - 1)]) && stored;
    return stored;
}

void frmMulti::PublishHeldHotKeys() const {
    int32_t held = 0;
    for (int32_t id = 1; id <= HotKeyCount; ++id) {
        if (m_hotKeyRegistered[static_cast<size_t>(id)])
            held |= 1 << (id - 1);
    }
    uint32_t type = RegTypeDword;
    // The settings key first, as a lasting key: created along with the volatile one, it would be volatile too.
    if (!SettingsKeyReady() || !Registry::CreateKey(HKEY_CURRENT_USER, HubStateKey, true) ||
        !Registry::SetValue(HKEY_CURRENT_USER, HubStateKey, HeldHotKeysValue, type, held))
        LogError("Varnel: Failed to make known which shortcut keys it holds: " + Registry::RegistryErrorText());
}

void frmMulti::UnregisterHotKeys() {
    for (int32_t id = 1; id <= HotKeyCount; ++id) {
        if (!m_hotKeyRegistered[static_cast<size_t>(id)])
            continue;
        if (!::UnregisterHotKey(Hwnd(), id)) {
            const std::string text = HotKeyText(m_hotKeys.modifiers, KeyText(m_hotKeys.keys[static_cast<size_t>(id - 1)]));
            LogError("Varnel: Failed to unregister the following hotkey: " + text);
            ReportError(6, text);
        }
    }
}
