// A throwaway program folder with the real hub, a debug monitor for its trace, and the settings key cleared.
#pragma once
#include "AnsiText.h"
#include "HubRun.h"
#include "core/EventNames.h"

#include <gtest/gtest.h>

class HubTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
        ASSERT_TRUE(m_monitor.Active());
    }
    void TearDown() override {
        m_hub.Stop();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Varnel");
    }

    std::string Log() const { return ReadFileBytes(m_folder.File(L"VarnelErrors.txt")); }
    std::string Dir() const { return ToAnsi(m_folder.Path()); }
    bool StartedOnceWithoutArguments(const std::wstring &program, const std::string &desktop) const {
        const std::string lines = RecorderLines(m_folder, program);
        const std::string bare = desktop + "|-1|";
        std::string quoted = bare;
        quoted.append("\"").append(ToAnsi(m_folder.File(program + L".exe"))).append("\"\r\n");
        return lines == bare + "\r\n" || lines == quoted;
    }
    // The hub's own trace of desktop work: program starts and switches, in order.
    std::vector<std::string> DesktopTrace() const { return m_monitor.Matching("cDesktop", m_hub.ProcessId()); }

    DebugMonitor m_monitor;
    TempFolder m_folder;
    HubRun m_hub{m_folder};
};

// The real relays, and responders standing in for the switchers; `without` is left out.
inline bool PopulateWithRelays(const TempFolder &folder, const std::wstring &without = L"") {
    bool ok = HubRun::Populate(folder, {L"varnelerror"});
    for (int desk = 1; desk <= 4; ++desk) {
        const std::wstring n = std::to_wstring(desk);
        ok = folder.Add(TestBinDir() + L"\\responder.exe", L"Tavik" + n + L".exe") && ok;
        if (L"Pellum" + n != without)
            ok = folder.Add(ProgramFolder() + L"\\Pellum" + n + L".exe", L"Pellum" + n + L".exe") && ok;
    }
    return folder.Add(ProgramFolder() + L"\\VarnelEventHandler.exe", L"VarnelEventHandler.exe") && ok;
}

// What responder TavikN was handed: "ready", then one line per command.
inline std::string Commands(const TempFolder &folder, int desk) {
    return ReadFileBytes(folder.File(L"Tavik" + std::to_wstring(desk) + L".rec"));
}

// An event of the protocol opened for watching; Signalled() takes the set (the events reset themselves).
class WatchedEvent {
public:
    explicit WatchedEvent(const char *nameText)
        : m_handle(::OpenEventA(SYNCHRONIZE, FALSE, (std::string(EventPrefix) + nameText).c_str())) {}
    bool Open() const { return static_cast<bool>(m_handle); }
    bool Signalled(DWORD timeoutMs = 0) const { return ::WaitForSingleObject(m_handle.Get(), timeoutMs) == WAIT_OBJECT_0; }

private:
    KernelHandle m_handle;
};
