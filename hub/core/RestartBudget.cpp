#include "RestartBudget.h"

bool RestartBudget::Allow(uint64_t nowMs) {
    if (m_exhausted)
        return false;
    // A restart kWindowMs ago or earlier no longer counts.
    while (!m_restarts.empty() && nowMs - m_restarts.front() >= kWindowMs)
        m_restarts.pop_front();
    if (m_restarts.size() >= static_cast<std::size_t>(kRestarts)) {
        m_exhausted = true;
        return false;
    }
    m_restarts.push_back(nowMs);
    return true;
}
