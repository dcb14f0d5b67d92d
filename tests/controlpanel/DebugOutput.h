// Collects the debug output (OutputDebugStringA) of other processes through the system-wide DBWIN buffer,
// so a test can see the order in which a program did things it traces.
#pragma once
#include "Handles.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DebugOutput {
public:
    DebugOutput();
    ~DebugOutput();
    DebugOutput(const DebugOutput &) = delete;
    DebugOutput &operator=(const DebugOutput &) = delete;
    // The lines of process `processId` so far, without their line ends.
    std::vector<std::string> Lines(DWORD processId) const;

private:
    void Read();

    KernelHandle m_mapping;
    KernelHandle m_bufferReady;
    KernelHandle m_dataReady;
    const char *m_view = nullptr;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::pair<DWORD, std::string>> m_lines;
    std::thread m_reader;
};
