#include "RelayRules.h"

#include "core/EventNames.h"

namespace {

bool Watches(int16_t deskNum, int16_t index) {
    const EventRange range = WatchedEvents(deskNum);
    return (deskNum >= 1 && deskNum <= HubDeskNum) && index >= range.first && index <= range.last;
}

std::string_view WithoutLineEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::vector<int16_t> RelayEvents(int16_t deskNum) {
    std::vector<int16_t> indices;
    if (deskNum < 1 || deskNum > HubDeskNum)
        return indices;
    const EventRange range = WatchedEvents(deskNum);
    for (int16_t index = range.first; index <= range.last; ++index)
        indices.push_back(index);
    return indices;
}

RelayAction ActionOfEvent(int16_t deskNum, int16_t index) {
    if (!Watches(deskNum, index))
        return {};
    const EventRoute route = RouteOfEvent(index);
    if (route.receiver == 0)
        return {};
    return {WindowTagName(route.receiver), CommandWord(route.command), route.command.kind == CommandKind::EndApp};
}

std::string RelayLogPrefix(int16_t deskNum) {
    if (deskNum == HubDeskNum)
        return "VarnelEventHandler: ";
    return "Pellum" + std::to_string(deskNum) + ": ";
}

std::string OpenFailureLine(int16_t deskNum, int16_t index, std::string_view systemText) {
    std::string line = RelayLogPrefix(deskNum) + "Failed to open " + EventName(index);
    if (const std::string_view reason = WithoutLineEnd(systemText); !reason.empty())
        line.append(": ").append(reason);
    return line;
}

std::string NoAnswerLine(int16_t deskNum, const RelayAction &action) {
    return RelayLogPrefix(deskNum) + "The window " + action.tag + " did not take " + action.word + " in time";
}

std::string HubEndedLine(int16_t deskNum, uint32_t exitCode) {
    return RelayLogPrefix(deskNum) + "The hub ended with exit code " + std::to_string(exitCode) + "; the relay ends";
}

std::string DroppedLine(int16_t deskNum, const RelayAction &action) {
    return RelayLogPrefix(deskNum) + "No window " + action.tag + " to take " + action.word + "; dropped";
}

bool LooksAgainForReceiver(int16_t deskNum, const RelayAction &action, uint64_t msSinceStart) {
    // The hub relay's receiver is the hub, which set the close events itself and is ending.
    return deskNum != HubDeskNum && action.end && msSinceStart < ReceiverStartMs;
}
