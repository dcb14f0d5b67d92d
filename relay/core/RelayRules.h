// What an event relay does with each event it waits on: which tagged window gets which command word, and
// when the relay ends. Pure, so the rules are unit-tested natively.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct RelayAction {
    std::string tag;   // window property of the receiver; empty when nothing is sent
    std::string word;  // the command word handed on
    bool end = false;  // the receiving program was told to end: hand it on, then the relay ends too
    bool operator==(const RelayAction &) const = default;
};

// The event indices relay `deskNum` (1..4, 5 = the hub relay) waits on, ascending.
std::vector<int16_t> RelayEvents(int16_t deskNum);
// What relay `deskNum` does when event `index` is set; nothing for idle events and for events not its own.
RelayAction ActionOfEvent(int16_t deskNum, int16_t index);
// "Pellum2: " or "VarnelEventHandler: ", the prefix of the relay's log lines.
std::string RelayLogPrefix(int16_t deskNum);
// The log line of a relay that cannot open one of its events; the system text loses its line end.
std::string OpenFailureLine(int16_t deskNum, int16_t index, std::string_view systemText);
// The log line of a relay that found no receiver for a command and dropped it.
std::string DroppedLine(int16_t deskNum, const RelayAction &action);
// Whether a relay that found no receiver for `action`, `msSinceStart` after it started, looks again: only a
// close command in its first seconds, when its switcher (started after it) may not have tagged its window yet.
bool LooksAgainForReceiver(int16_t deskNum, const RelayAction &action, uint64_t msSinceStart);
inline constexpr uint64_t ReceiverStartMs = 10000;
// The log line of a relay whose receiver did not take a command in time.
std::string NoAnswerLine(int16_t deskNum, const RelayAction &action);
// The log line of a relay that ends because its hub died.
std::string HubEndedLine(int16_t deskNum, uint32_t exitCode);
