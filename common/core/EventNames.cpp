#include "EventNames.h"

#include <array>

namespace {

// The binding table; index 1 is element 0.
constexpr std::array<std::string_view, EventCount> kNames = {
    "Switcher1Update2",    "Switcher1Update3",    "Switcher1Update4",    "Switcher1ToDesktop2",
    "Switcher1ToDesktop3", "Switcher1ToDesktop4", "CloseSwitcher1",      "ReadRegSwitcher1",
    "ShowNameSwitcher1",   "ShutdownDesktop1",    "Switcher2Update1",    "Switcher2Update3",
    "Switcher2Update4",    "Switcher2ToDesktop1", "Switcher2ToDesktop3", "Switcher2ToDesktop4",
    "CloseSwitcher2",      "ReadRegSwitcher2",    "ShowNameSwitcher2",   "ShutdownDesktop2",
    "Switcher3Update1",    "Switcher3Update2",    "Switcher3Update4",    "Switcher3ToDesktop1",
    "Switcher3ToDesktop2", "Switcher3ToDesktop4", "CloseSwitcher3",      "ReadRegSwitcher3",
    "ShowNameSwitcher3",   "ShutdownDesktop3",    "Switcher4Update1",    "Switcher4Update2",
    "Switcher4Update3",    "Switcher4ToDesktop1", "Switcher4ToDesktop2", "Switcher4ToDesktop3",
    "CloseSwitcher4",      "ReadRegSwitcher4",    "ShowNameSwitcher4",   "ShutdownDesktop4",
    "SwitchToDesktop1",    "SwitchToDesktop2",    "SwitchToDesktop3",    "SwitchToDesktop4",
    "CloseVarnel",         "ReadRegVarnel",       "ShutdownDesktops",
};

// The desktop that the slot-th pair event (0..2) of switcher x names: its three other desktops in order.
int16_t PairDesk(int16_t x, int slot) {
    const auto n = static_cast<int16_t>(slot + 1);
    return n >= x ? static_cast<int16_t>(n + 1) : n;
}

}  // namespace

std::string EventName(int16_t index) {
    std::string name(EventPrefix);
    if (index >= 1 && index <= EventCount)
        name += kNames[static_cast<size_t>(index - 1)];
    return name;
}

int16_t PairEventIndex(int32_t kind, int16_t x, int16_t n) {
    int32_t base = 0;
    if (kind == PairKindToDesktop)
        base = 10 * x - 7;
    else if (kind == PairKindUpdate)
        base = 10 * x - 10;
    return static_cast<int16_t>(n > x ? base + n - 1 : base + n);
}

std::string CommandWord(Command command) {
    const std::string digit(1, static_cast<char>('0' + command.desk));
    switch (command.kind) {
    case CommandKind::SwitchToDesktop: return "SwitchToDesktop" + digit;
    case CommandKind::UpdateScreenshot: return "UpdateScreenshot" + digit;
    case CommandKind::EndApp: return "EndApp";
    case CommandKind::ReadRegistry: return "ReadRegistry";
    case CommandKind::None: break;
    }
    return {};
}

Command ParseCommandWord(const char *data, long length) {
    if (data == nullptr || length <= 0)
        return {};
    const std::string_view word(data, static_cast<size_t>(length));
    if (word == "EndApp")
        return {CommandKind::EndApp, 0};
    if (word == "ReadRegistry")
        return {CommandKind::ReadRegistry, 0};
    for (int16_t desk = 1; desk <= 4; ++desk) {
        for (auto kind : {CommandKind::SwitchToDesktop, CommandKind::UpdateScreenshot}) {
            if (word == CommandWord({kind, desk}))
                return {kind, desk};
        }
    }
    return {};
}

EventRoute RouteOfEvent(int16_t index) {
    if (index >= 41 && index <= 44)
        return {HubDeskNum, {CommandKind::SwitchToDesktop, static_cast<int16_t>(index - 40)}};
    if (index == 45)
        return {HubDeskNum, {CommandKind::EndApp, 0}};
    if (index == 46)
        return {HubDeskNum, {CommandKind::ReadRegistry, 0}};
    if (index < 1 || index > 40)
        return {};
    const auto x = static_cast<int16_t>((index - 1) / 10 + 1);
    const int slot = (index - 1) % 10;
    if (slot < 3)
        return {x, {CommandKind::UpdateScreenshot, PairDesk(x, slot)}};
    if (slot < 6)
        return {x, {CommandKind::SwitchToDesktop, PairDesk(x, slot - 3)}};
    if (slot == 6)
        return {x, {CommandKind::EndApp, 0}};
    if (slot == 7)
        return {x, {CommandKind::ReadRegistry, 0}};
    return {};  // ShowNameSwitcherX and ShutdownDesktopX are idle
}

EventRange WatchedEvents(int16_t deskNum) {
    if (deskNum == HubDeskNum)
        return {41, 47};
    return {static_cast<int16_t>(10 * (deskNum - 1) + 1), static_cast<int16_t>(10 * deskNum)};
}

std::string WindowTagName(int16_t deskNum) {
    if (deskNum == HubDeskNum)
        return "Varnel_APPLICATION";
    return "Tavik" + std::to_string(deskNum) + "_APPLICATION";
}
