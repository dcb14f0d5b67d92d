// Collects the debug output (OutputDebugStringA) of every process of the session, the way a debug viewer
// does on Windows: through the DBWIN buffer and its two events. Tests read the programs' traces with it.
#pragma once
#include "Handles.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DebugMonitor {
public:
    struct Line {
        DWORD processId;
        std::string text;     // without the final line end
        double milliseconds;  // when it arrived, on the scale of Now()
    };

    DebugMonitor();
    ~DebugMonitor();

    bool Active() const { return m_thread.joinable(); }
    static double Now();
    std::vector<Line> Lines() const;
    // In arrival order; from one process only when `processId` is not 0.
    std::vector<std::string> Matching(const std::string &part, DWORD processId = 0) const;
    bool WaitFor(const std::string &part, size_t count = 1, DWORD timeoutMs = 10000, DWORD processId = 0) const;

private:
    void Run();

    KernelHandle m_mutex, m_mapping, m_bufferReady, m_dataReady;
    const char *m_view = nullptr;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;
    std::vector<Line> m_lines;
    std::thread m_thread;
};
