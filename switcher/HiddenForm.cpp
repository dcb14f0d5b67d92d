#include "HiddenForm.h"

#include "AnsiText.h"
#include "Dpi.h"
#include "Log.h"
#include "MFreeImage.h"
#include "Registry.h"
#include "Screenshot.h"
#include "SetWatch.h"
#include "core/TrayRecord.h"
#include "frmMain.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSetEndingWaitMs = 2000;

std::string DefaultName(int16_t desk) {
    return "Desktop " + std::to_string(desk);
}

std::string Prefix() {
    return "Tavik" + std::to_string(DeskNum()) + ": ";
}

std::wstring DesktopNameOf(HDESK desktop) {
    wchar_t name[256] = {};
    const DWORD size = sizeof name - sizeof name[0];  // the last character stays the end of the text
    const bool named = desktop != nullptr && ::GetUserObjectInformationW(desktop, UOI_NAME, name, size, nullptr);
    return named ? std::wstring(name) : std::wstring();
}

// Whether the display shows this switcher's desktop. (Wine always names "Default" as the input desktop.)
bool ShowsThisDesktop() {
    const Desktop input(::OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS));
    const std::wstring shown = DesktopNameOf(input.Get());
    const std::wstring own = DesktopNameOf(::GetThreadDesktop(::GetCurrentThreadId()));
    return !shown.empty() && _wcsicmp(shown.c_str(), own.c_str()) == 0;
}

// Desktop 1 is the interactive desktop the hub adopted, "Default" in the user's window station.
bool ShowDesktopOne() {
    const Desktop one(::OpenDesktopW(L"Default", 0, FALSE, DESKTOP_SWITCHDESKTOP));
    return one && ::SwitchDesktop(one.Get());
}

// The performance counter in milliseconds, one clock for every process.
double CounterMs() {
    LARGE_INTEGER count = {}, frequency = {};
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One step of a multi-step command: failing by an exception (no memory for a capture or a file's rows) skips it
// like failing by its result, and the next step still runs.
template <class Step>
auto Skipping(Step step) -> decltype(step()) {
    try {
        return step();
    } catch (...) {
        return {};
    }
}

}  // namespace

HiddenForm::HiddenForm() : m_largeView(*this), m_popup(*this) {}

HiddenForm::~HiddenForm() {
    Unload();
}

bool HiddenForm::Load() {
    if (!CreateBound("Varnel.HiddenForm", 0, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr))
        return false;
    TagWindow(Hwnd());
    m_taskbarCreatedMessage = ::RegisterWindowMessageA("TaskbarCreated");
    m_main.Load();
    HookMessage(this, Hwnd(), m_taskbarCreatedMessage);
    HookMessage(this, Hwnd(), WM_COPYDATA);
    LoadSettings();
    // Both ask for the names and the transparency while they load.
    m_largeView.Load();
    m_popup.Load();
    m_sysTray = std::make_unique<TrayIcon>(*this);
    m_sysTray->SetOwnerForm(Hwnd());
    m_sysTray->SetIcon(m_main.Icon());
    m_sysTray->SetTooltip(m_desktopNames[static_cast<size_t>(DeskNum() - 1)]);
    m_sysTray->Add();
    if (OpenEvents()) {
        HoldCaptureIfShown();
        Trace(Prefix() + "started");
        return true;
    }
    Unload();
    return false;
}

void HiddenForm::Unload() {
    if (Hwnd() == nullptr)
        return;
    UnhookMessage(this, Hwnd(), WM_COPYDATA);
    UnhookMessage(this, Hwnd(), m_taskbarCreatedMessage);
    if (m_sysTray) {
        m_sysTray->Remove();
        m_sysTray.reset();
    }
    for (auto &handle : m_eventHandles)
        handle.Reset();
    m_main.Unload();
    m_largeView.Unload();
    m_popup.Unload();
    ::DestroyWindow(Hwnd());
}

void HiddenForm::HubEnded(DWORD exitCode) {
    std::string line = Prefix() + "The hub ended with exit code " + std::to_string(exitCode) + "; the switcher ends";
    if (ShowsThisDesktop())
        line += ShowDesktopOne() ? " and shows desktop 1 again" : " and could not show desktop 1 again";
    LogError(line);
    Unload();
}

bool HiddenForm::OpenEvents() {
    std::vector<std::string> missing;
    for (int16_t index = 1; index <= EventCount; ++index) {
        const std::string name = EventName(index);
        m_eventHandles[static_cast<size_t>(index - 1)].Reset(::OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str()));
        if (!m_eventHandles[static_cast<size_t>(index - 1)])
            missing.push_back(name);
    }
    // The set shut down while this switcher started (its hub ends, or its starter is gone): no fault for the user
    // to hear of, and an upgrade would wait on the reporter's window.
    if (!missing.empty() && SetEnding(kSetEndingWaitMs)) {
        LogError(Prefix() + "The set ended while the switcher started; the switcher ends");
        return false;
    }
    for (const std::string &name : missing) {
        LogError(Prefix() + "Unable to open event " + name);
        ReportError(1, "");
    }
    return missing.empty();
}

void HiddenForm::LoadSettings() {
    m_transparencyOn = true;
    for (int16_t k = 1; k <= 4; ++k)
        m_desktopNames[static_cast<size_t>(k - 1)] = DefaultName(k);
    if (!Registry::KeyExists(HKEY_CURRENT_USER, Registry::SettingsKey))
        return;
    Registry::Value value;
    if (Registry::QueryValue(HKEY_CURRENT_USER, Registry::SettingsKey, "GUItransparency", RegTypeDword, value))
        m_transparencyOn = std::get<int32_t>(value) != 0;
    for (int16_t k = 1; k <= 4; ++k) {
        if (Registry::QueryValue(HKEY_CURRENT_USER, Registry::SettingsKey, "Desktop" + std::to_string(k) + "Name",
                                 RegTypeSz, value))
            m_desktopNames[static_cast<size_t>(k - 1)] = std::get<std::string>(value);
    }
}

void HiddenForm::SignalSwitchToDesktop(int16_t DesktopNumber) {
    if (DesktopNumber >= 1 && DesktopNumber <= 4)
        ::SetEvent(m_eventHandles[static_cast<size_t>(40 + DesktopNumber - 1)].Get());
}

void HiddenForm::SignalUpdateScreenShots() {
    for (int16_t x = 1; x <= 4; ++x) {
        if (x != DeskNum())
            ::SetEvent(m_eventHandles[static_cast<size_t>(PairEventIndex(PairKindUpdate, x, DeskNum()) - 1)].Get());
    }
}

std::string HiddenForm::DesktopName(int16_t Num) const {
    return Num >= 1 && Num <= 4 ? m_desktopNames[static_cast<size_t>(Num - 1)] : std::string();
}

void HiddenForm::LeaveDesktop(int16_t target) {
    const double commandAt = CounterMs();
    const bool held = m_capture.Holds();
    Image capture = Skipping([&] { return m_capture.CaptureScreen(nullptr); });
    const double captured = CounterMs();
    SignalSwitchToDesktop(target);
    const int32_t width = m_largeView.picWidth() - 6, height = m_largeView.picHeight() - 6;
    Image scaled = Skipping([&] { return RescaleToSize(std::move(capture), width, height, FilterBicubic); });
    const double rescaled = CounterMs();
    // Written from the scaled image itself: a picture in between would only be copied back out of it.
    const std::wstring file = ScreenshotPath(DeskNum());
    const bool saved = Skipping([&] { return SaveImageFile(scaled, file); });
    scaled = Image();  // still the capture when the rescale failed: gone before its pixels may be let go below
    const double written = CounterMs();
    SignalUpdateScreenShots();
    // Traced last, with the times of the steps, so the trace holds up neither the switch nor the other switchers.
    char times[160] = {};
    std::snprintf(times, sizeof times,
                  "; left for desktop %d, command at %.3f ms: capture %.2f (%s pixels), rescale %.2f, save %.2f",
                  target, commandAt, captured - commandAt, held ? "held" : "new", rescaled - captured,
                  written - rescaled);
    Trace(Prefix() + (saved ? "saved " : "could not save ") + ToAnsi(file) + times);
    HoldCaptureIfShown();
}

void HiddenForm::ReloadScreenShot(int16_t desk) {
    const double commandAt = CounterMs();
    const bool reloaded = m_largeView.UpdateScreenShot(desk);
    char times[64] = {};
    std::snprintf(times, sizeof times, "; command at %.3f ms: load %.2f", commandAt, CounterMs() - commandAt);
    Trace(Prefix() + (reloaded ? "reloaded" : "could not reload") + " the picture of desktop " + std::to_string(desk) +
          times);
    HoldCaptureIfShown();  // another desktop was left: this one may be shown now, or still not
}

void HiddenForm::HoldCaptureIfShown() {
    if (ShowsThisDesktop())
        m_capture.Prepare();
    else
        m_capture.Release();
}

bool HiddenForm::SaveScreenshot(IPicture *picture) {
    return Skipping([&] {
        const std::wstring file = ScreenshotPath(DeskNum());
        const bool saved = SavePictureFile(picture, file);
        Trace(Prefix() + (saved ? "saved " : "could not save ") + ToAnsi(file));
        return saved;
    });
}

void HiddenForm::SysTray_MouseUp(int16_t button) {
    if (button == 1) {
        Image capture = m_capture.CaptureScreen(nullptr);
        m_largeView.Show();
        m_largeView.UpdateImage(std::move(capture));
    } else if (button == 2) {
        m_popup.PositionForm();
        m_popup.Show();
    }
}

LRESULT HiddenForm::ISubclass_WindowProc(HWND hWnd, UINT iMsg, WPARAM, LPARAM lParam) {
    if (hWnd != Hwnd())
        return 0;
    if (iMsg == WM_COPYDATA)
        OnCopyData(lParam);
    else if (iMsg == m_taskbarCreatedMessage && m_sysTray)
        m_sysTray->Add();  // the shell started again and lost every icon
    return 0;
}

void HiddenForm::OnCopyData(LPARAM lParam) {
    const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
    if (data == nullptr)
        return;
    // The length is read signed: a "negative" one carries no command.
    CarryOut(ParseCommandWord(static_cast<const char *>(data->lpData), static_cast<int32_t>(data->cbData)));
}

void HiddenForm::CarryOut(const Command &command) {
    switch (command.kind) {
    case CommandKind::UpdateScreenshot: ReloadScreenShot(command.desk); break;
    case CommandKind::SwitchToDesktop: LeaveDesktop(command.desk); break;
    case CommandKind::EndApp: Unload(); break;
    case CommandKind::ReadRegistry:
        LoadSettings();
        m_largeView.SetFormName();
        m_popup.SetFormName();
        break;
    case CommandKind::None: break;
    }
}

LRESULT HiddenForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: OnTrayCallback(lParam); return 0;
    case WM_CLOSE: Unload(); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: OnEndSession(wParam); return 0;
    case WM_DPICHANGED: OnDpiChanged(LOWORD(wParam)); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void HiddenForm::OnTrayCallback(LPARAM lParam) {
    // The shell's callbacks come as the tray icon's callback message, which is WM_MOUSEMOVE's number; the window
    // is never shown, so no real mouse move arrives.
    static_assert(WM_MOUSEMOVE == TrayCallbackMessage);
    if (m_sysTray)
        m_sysTray->OnCallback(LOWORD(lParam));
}

void HiddenForm::OnDpiChanged(int32_t dpi) {
    // The notification area shows the small-icon size of the new scaling.
    m_main.LoadTrayIcon(dpi);
    if (m_sysTray) {
        m_sysTray->SetIcon(m_main.Icon());
        m_sysTray->Modify();
    }
}

void HiddenForm::OnEndSession(WPARAM ending) {
    if (ending)
        Unload();
}
