// An event relay: waits on its program's named events and hands each one on as a copy-data command to the
// window of its own desktop that carries the program's tag. Built once per desktop and once as the hub relay.
#include "Handles.h"
#include "Log.h"
#include "SetWatch.h"
#include "WinAPIError.h"
#include "core/EventNames.h"
#include "core/RelayRules.h"

#include <windows.h>

#include <vector>

#ifndef RELAY_DESKNUM
#error "Each relay defines RELAY_DESKNUM: 1 to 4 for the desktops' relays, 5 for the hub relay"
#endif

namespace {

constexpr int16_t kDeskNum = RELAY_DESKNUM;
// Long enough for a switcher to capture and save a screenshot inside the send; a hung one is dropped sooner.
constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kLookAgainMs = 50;
// How long a hub without its window may take to end before its relay says the close command was dropped.
constexpr DWORD kHubEndingMs = 2000;

struct Search {
    const char *tag;
    HWND found;
};

BOOL CALLBACK FindTagged(HWND window, LPARAM lParam) {
    auto *search = reinterpret_cast<Search *>(lParam);
    if (::GetPropA(window, search->tag) != reinterpret_cast<HANDLE>(1))
        return TRUE;
    search->found = window;
    return FALSE;
}

// The window that took the last command. It is asked again while it still carries the tag: searching the
// desktop's windows costs milliseconds on the road of every switch, and a receiver that ended or restarted has
// another window by then.
struct Receiver {
    std::string tag;
    HWND window = nullptr;
};

// EnumWindows lists the top-level windows of this thread's desktop only, which is the relay's own.
HWND FindReceiver(Receiver &last, const std::string &tag) {
    if (last.window != nullptr && last.tag == tag &&
        ::GetPropA(last.window, tag.c_str()) == reinterpret_cast<HANDLE>(1))
        return last.window;
    Search search{tag.c_str(), nullptr};
    ::EnumWindows(FindTagged, reinterpret_cast<LPARAM>(&search));
    last = {tag, search.found};
    return search.found;
}

void HandOn(const RelayAction &action, ULONGLONG started, HANDLE hub, Receiver &last) {
    HWND receiver = FindReceiver(last, action.tag);
    while (receiver == nullptr && LooksAgainForReceiver(kDeskNum, action, ::GetTickCount64() - started)) {
        ::Sleep(kLookAgainMs);
        receiver = FindReceiver(last, action.tag);
    }
    if (receiver == nullptr) {
        // A hub that sets its own close event is ending: its window may be gone already, and nothing is lost.
        if (!(kDeskNum == HubDeskNum && action.end && hub != nullptr &&
              ::WaitForSingleObject(hub, kHubEndingMs) == WAIT_OBJECT_0))
            LogError(DroppedLine(kDeskNum, action));
        return;
    }
    std::string word = action.word;
    COPYDATASTRUCT block = {};
    block.cbData = static_cast<DWORD>(word.size());  // the characters only, no NUL
    block.lpData = word.data();
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block),
                               SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer) &&
        ::IsWindow(receiver))
        LogError(NoAnswerLine(kDeskNum, action));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const ULONGLONG started = ::GetTickCount64();
    const std::vector<int16_t> indices = RelayEvents(kDeskNum);
    std::vector<KernelHandle> events;
    std::vector<HANDLE> waitList;
    for (const int16_t index : indices) {
        KernelHandle event(::OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, EventName(index).c_str()));
        if (!event) {
            LogError(OpenFailureLine(kDeskNum, index, WinAPIErrorText(::GetLastError())));
            return 1;
        }
        waitList.push_back(event.Get());
        events.push_back(std::move(event));
    }
    // Last in the list, after every event: the hub that started the relay. The set ends with it.
    const KernelHandle hub = OpenStartingHub();
    if (hub)
        waitList.push_back(hub.Get());
    Trace(RelayLogPrefix(kDeskNum) + "waiting");
    Receiver last;
    for (;;) {
        const DWORD result =
            ::WaitForMultipleObjects(static_cast<DWORD>(waitList.size()), waitList.data(), FALSE, INFINITE);
        if (result >= WAIT_OBJECT_0 + waitList.size()) {
            LogError(RelayLogPrefix(kDeskNum) + "Waiting for the events failed: " + WinAPIErrorText(::GetLastError()));
            return 1;
        }
        if (result - WAIT_OBJECT_0 == indices.size()) {
            const DWORD code = ExitCodeOf(hub.Get());
            waitList.pop_back();
            if (EndedInOrder(code))
                continue;  // an orderly end of the hub: its close event still comes and is handed on
            LogError(HubEndedLine(kDeskNum, code));
            return 0;
        }
        const RelayAction action = ActionOfEvent(kDeskNum, indices[result - WAIT_OBJECT_0]);
        if (!action.word.empty())
            HandOn(action, started, hub.Get(), last);
        if (action.end)
            return 0;
    }
}
