#include "DebugOutput.h"

DebugOutput::DebugOutput()
    : m_mapping(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "DBWIN_BUFFER")),
      m_bufferReady(::CreateEventA(nullptr, FALSE, FALSE, "DBWIN_BUFFER_READY")),
      m_dataReady(::CreateEventA(nullptr, FALSE, FALSE, "DBWIN_DATA_READY")) {
    if (m_mapping)
        m_view = static_cast<const char *>(::MapViewOfFile(m_mapping.Get(), FILE_MAP_READ, 0, 0, 4096));
    if (m_view && m_bufferReady && m_dataReady)
        m_reader = std::thread([this] { Read(); });
}

DebugOutput::~DebugOutput() {
    m_stop = true;
    if (m_reader.joinable())
        m_reader.join();
    if (m_view)
        ::UnmapViewOfFile(m_view);
}

void DebugOutput::Read() {
    // The buffer holds the writer's process id, then its text; a writer waits for "buffer ready" before writing.
    while (!m_stop) {
        ::SetEvent(m_bufferReady.Get());
        if (::WaitForSingleObject(m_dataReady.Get(), 50) != WAIT_OBJECT_0)
            continue;
        DWORD processId = 0;
        ::memcpy(&processId, m_view, sizeof processId);
        std::string text(m_view + sizeof processId, ::strnlen(m_view + sizeof processId, 4096 - sizeof processId));
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.emplace_back(processId, std::move(text));
    }
}

std::vector<std::string> DebugOutput::Lines(DWORD processId) const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> lines;
    for (const auto &[id, text] : m_lines)
        if (id == processId)
            lines.push_back(text);
    return lines;
}
