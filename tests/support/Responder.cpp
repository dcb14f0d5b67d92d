// Stands in for a switcher (copied as TavikN.exe): a hidden window tagged "TavikN_APPLICATION" that records
// each copy-data command in TavikN.rec and answers "SwitchToDesktopM" at once by setting "SwitchToDesktopM",
// as the real switcher does after its capture. "EndApp" ends it.
#include "Handles.h"
#include "core/EventNames.h"

#include <windows.h>

#include <string>

namespace {

std::wstring g_record;  // TavikN.rec beside the program

void Record(const std::string &line) {
    FileHandle file(::CreateFileW(g_record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file)
        ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
    if (message != WM_COPYDATA || data == nullptr || data->lpData == nullptr)
        return message == WM_COPYDATA ? 0 : ::DefWindowProcA(window, message, wParam, lParam);
    const std::string word(static_cast<const char *>(data->lpData), data->cbData);
    const Command command = ParseCommandWord(word.data(), static_cast<long>(word.size()));
    const auto answer = static_cast<int16_t>(40 + command.desk);  // the hub relay's "SwitchToDesktopM"
    if (command.kind == CommandKind::SwitchToDesktop)
        ::SetEvent(KernelHandle(::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName(answer).c_str())).Get());
    Record(word + "\r\n");
    if (command.kind == CommandKind::EndApp)
        ::PostQuitMessage(0);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring path = self;
    g_record = path.substr(0, path.find_last_of(L'.')) + L".rec";
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    const int16_t desk = static_cast<int16_t>(name.size() > 5 ? name[5] - L'0' : 0);  // "TavikN.exe"

    const WNDCLASSA windowClass = {0, Procedure, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, "VarnelResponder"};
    ::RegisterClassA(&windowClass);
    const HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, "VarnelResponder", "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                          nullptr, instance, nullptr);
    ::SetPropA(window, WindowTagName(desk).c_str(), reinterpret_cast<HANDLE>(1));
    Record("ready\r\n");
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&message);
    ::DestroyWindow(window);
    return 0;
}
