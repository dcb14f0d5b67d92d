#include "DebugMonitor.h"

#include "TestSupport.h"

DebugMonitor::DebugMonitor()
    : m_mutex(::CreateMutexW(nullptr, FALSE, L"DBWinMutex")),
      m_mapping(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER")),
      m_bufferReady(::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY")),
      m_dataReady(::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")) {
    if (m_mapping && m_bufferReady && m_dataReady)
        m_view = static_cast<const char *>(::MapViewOfFile(m_mapping.Get(), FILE_MAP_READ, 0, 0, 4096));
    if (m_view != nullptr)
        m_thread = std::thread([this] { Run(); });
}

DebugMonitor::~DebugMonitor() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_view != nullptr)
        ::UnmapViewOfFile(m_view);
}

void DebugMonitor::Run() {
    // The buffer is offered again only after its line was read: offering it on every timeout would let a
    // second writer overwrite a line that is still being written.
    ::SetEvent(m_bufferReady.Get());
    while (!m_stop) {
        if (::WaitForSingleObject(m_dataReady.Get(), 50) != WAIT_OBJECT_0)
            continue;
        const DWORD processId = *reinterpret_cast<const DWORD *>(m_view);
        std::string text(m_view + sizeof processId, strnlen(m_view + sizeof processId, 4096 - sizeof processId));
        text.erase(text.find_last_not_of("\r\n") + 1);
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_lines.push_back({processId, std::move(text), Now()});
        }
        ::SetEvent(m_bufferReady.Get());
    }
}

double DebugMonitor::Now() {
    LARGE_INTEGER count, frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<DebugMonitor::Line> DebugMonitor::Lines() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lines;
}

std::vector<std::string> DebugMonitor::Matching(const std::string &part, DWORD processId) const {
    std::vector<std::string> found;
    for (const Line &line : Lines()) {
        if (line.text.find(part) != std::string::npos && (processId == 0 || line.processId == processId))
            found.push_back(line.text);
    }
    return found;
}

bool DebugMonitor::WaitFor(const std::string &part, size_t count, DWORD timeoutMs, DWORD processId) const {
    return ::WaitFor([&] { return Matching(part, processId).size() >= count; }, timeoutMs);
}
