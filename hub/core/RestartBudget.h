// How often the hub starts a program of its set again after it died: a start limit per program, counted over a
// sliding window, as a service manager's "so many starts in so many seconds, then give up".
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>

class RestartBudget {
public:
    static constexpr int kRestarts = 3;
    static constexpr uint64_t kWindowMs = 60000;

    // Whether a program that died at `nowMs` (a steady clock) may be started again; a granted restart is counted.
    // Once refused, always refused: the program is left for good.
    bool Allow(uint64_t nowMs);
    bool Exhausted() const { return m_exhausted; }

private:
    std::deque<uint64_t> m_restarts;  // times of the restarts within the window, oldest first
    bool m_exhausted = false;
};
