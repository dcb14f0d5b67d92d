// The 47 named events that the programs signal each other with, and the copy-data command words.
// Pure: no Windows header, so the tables are unit-tested natively.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int16_t EventCount = 47;
inline constexpr int16_t HubDeskNum = 5;  // program identity of the hub where a desktop number is asked for
inline constexpr int32_t PairKindToDesktop = 1;
inline constexpr int32_t PairKindUpdate = 2;
inline constexpr std::string_view EventPrefix = "Local\\nuvoq_";
// The close events ("CloseVarnel", "CloseSwitcher1".."4") in the order a shutdown sets them: the hub first.
inline constexpr std::array<int16_t, 5> ShutdownEvents = {45, 7, 17, 27, 37};

// "Local\nuvoq_" + the name text of the index; the bare prefix outside 1..47.
std::string EventName(int16_t index);
// Index of the event that tells switcher x about desktop n (x != n).
int16_t PairEventIndex(int32_t kind, int16_t x, int16_t n);

// Copy-data command words.
enum class CommandKind { None, SwitchToDesktop, UpdateScreenshot, EndApp, ReadRegistry };
struct Command {
    CommandKind kind = CommandKind::None;
    int16_t desk = 0;  // 1..4 for SwitchToDesktop and UpdateScreenshot
    bool operator==(const Command &) const = default;
};
std::string CommandWord(Command command);
// Exactly `length` bytes compared case-sensitively; anything else, and length <= 0, is CommandKind::None.
Command ParseCommandWord(const char *data, long length);

// What a relay hands on when event `index` is set: receiver 1..4 (switcher), 5 (hub) or 0 (nobody).
struct EventRoute {
    int16_t receiver = 0;
    Command command;
};
EventRoute RouteOfEvent(int16_t index);
// The indices relay `deskNum` watches (5 = the hub relay): first..last inclusive.
struct EventRange {
    int16_t first;
    int16_t last;
};
EventRange WatchedEvents(int16_t deskNum);
// The window property that marks program `deskNum`'s command window (5 = hub).
std::string WindowTagName(int16_t deskNum);
