#include "TestSupport.h"

#include "AnsiText.h"

#include <tlhelp32.h>

#include <atomic>
#include <filesystem>

std::wstring TestBinDir() {
    return ProgramDirectory();
}

std::wstring ProgramFolder() {
    return TestBinDir() + L"\\..\\..\\program";
}

namespace {

// The running processes, as the system lists them, that `keep` keeps.
std::vector<ChildProcess> Processes(const std::function<bool(const PROCESSENTRY32W &)> &keep) {
    std::vector<ChildProcess> kept;
    FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (keep(entry))
            kept.push_back({entry.th32ProcessID, entry.szExeFile});
    }
    return kept;
}

// 32-bit callbacks are stdcall, which a lambda does not convert to with every compiler.
BOOL CALLBACK MatchTag(HWND window, LPARAM data) {
    auto *search = reinterpret_cast<std::pair<const std::string *, HWND> *>(data);
    if (::GetPropA(window, search->first->c_str()) != reinterpret_cast<HANDLE>(1))
        return TRUE;
    search->second = window;
    return FALSE;
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_path = temp + (L"Varnel Test " + std::to_wstring(::GetCurrentProcessId())) + L"-" + std::to_wstring(++counter);
    ::CreateDirectoryW(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    std::error_code ignored;  // a file that a test's program still holds stays behind
    std::filesystem::remove_all(m_path, ignored);
}

bool TempFolder::Add(const std::wstring &source, std::wstring_view name) const {
    return ::CopyFileW(source.c_str(), File(name).c_str(), FALSE) != 0;
}

bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() >= deadline)
            return false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
    return true;
}

bool FileExists(const std::wstring &path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::wstring &path) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (file && ::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

bool WriteFileBytes(const std::wstring &path, std::string_view bytes) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

KernelHandle StartProcess(const std::wstring &program, const std::wstring &commandLine, const wchar_t *desktop) {
    std::wstring line = commandLine, desk = desktop ? desktop : L"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop ? desk.data() : nullptr;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return {};
    ::CloseHandle(process.hThread);
    return KernelHandle(process.hProcess);
}

DWORD RunProcess(const std::wstring &program, const std::wstring &commandLine, DWORD timeoutMs) {
    const KernelHandle process = StartProcess(program, commandLine);
    DWORD code = static_cast<DWORD>(-1);
    if (process && ::WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0)
        ::TerminateProcess(process.Get(), code = STILL_ACTIVE);
    else if (process)
        ::GetExitCodeProcess(process.Get(), &code);
    return code;
}

std::string RecorderLines(const TempFolder &folder, std::wstring_view programName) {
    return ReadFileBytes(folder.File(std::wstring(programName) + L".rec"));
}

HWND FindTaggedWindow(const std::string &tag) {
    std::pair<const std::string *, HWND> search{&tag, nullptr};
    ::EnumWindows(MatchTag, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

bool SendCopyData(HWND window, std::string_view bytes, DWORD timeoutMs) {
    COPYDATASTRUCT data = {0, static_cast<DWORD>(bytes.size()), const_cast<char *>(bytes.data())};
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                 timeoutMs, &result) != 0;
}

void PressHotKey(int modifiers, WORD virtualKey) {
    // Modifiers down in bit order, the key down and up, the modifiers up in reverse order.
    const WORD keys[] = {VK_MENU,    VK_CONTROL, VK_SHIFT, VK_LWIN,    virtualKey,
                         virtualKey, VK_LWIN,    VK_SHIFT, VK_CONTROL, VK_MENU};
    std::vector<INPUT> inputs;
    for (int i = 0; i < 10; ++i) {
        if (i == 4 || i == 5 || (modifiers & (1 << (i < 4 ? i : 9 - i)))) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = keys[i];
            input.ki.dwFlags = i < 5 ? 0 : KEYEVENTF_KEYUP;
            inputs.push_back(input);
        }
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void EndChildProcesses(DWORD parentId, const std::wstring &exeName, DWORD graceMs) {
    const ULONGLONG deadline = ::GetTickCount64() + graceMs;
    for (const ChildProcess &child : ChildProcesses(parentId)) {
        KernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, child.id));
        if (!process || (!exeName.empty() && _wcsicmp(child.name.c_str(), exeName.c_str()) != 0))
            continue;
        const ULONGLONG now = ::GetTickCount64();
        const DWORD grace = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (::WaitForSingleObject(process.Get(), grace) != WAIT_OBJECT_0) {
            ::TerminateProcess(process.Get(), 0);
            ::WaitForSingleObject(process.Get(), 5000);
        }
    }
}

std::vector<DWORD> ProcessIdsOf(const std::wstring &exeName) {
    std::vector<DWORD> ids;
    for (const auto &process : Processes([&](const auto &e) { return !_wcsicmp(e.szExeFile, exeName.c_str()); }))
        ids.push_back(process.id);
    return ids;
}

bool KillProcess(const std::wstring &exeName) {
    const std::vector<DWORD> ids = ProcessIdsOf(exeName);
    KernelHandle process(ids.empty() ? nullptr : ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ids.front()));
    return process && ::TerminateProcess(process.Get(), 1) &&
           ::WaitForSingleObject(process.Get(), 5000) == WAIT_OBJECT_0;
}

std::vector<ChildProcess> ChildProcesses(DWORD parentId, const std::wstring &except) {
    return Processes([&](const auto &e) {
        return e.th32ParentProcessID == parentId && _wcsicmp(e.szExeFile, except.c_str()) != 0;
    });
}

PrefixDpi::PrefixDpi(DWORD dpi) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

PrefixDpi::~PrefixDpi() {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
}

std::wstring WideWindowText(HWND window) {
    wchar_t text[8192] = {};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          &length);
    return text;
}
