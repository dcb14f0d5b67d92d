#include "MessageHook.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

struct Hook {
    ISubclass *client;
    UINT message;
    bool operator==(const Hook &) const = default;
};
using HookTable = std::vector<Hook>;

constexpr UINT_PTR kSubclassId = 0x5661726E;  // one subclass of ours per window, whatever is hooked

LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

HookTable *TableOf(HWND window) {
    DWORD_PTR data = 0;
    return ::GetWindowSubclass(window, HookProc, kSubclassId, &data) ? reinterpret_cast<HookTable *>(data) : nullptr;
}

bool IsHooked(HWND window, const Hook &hook) {
    const HookTable *table = TableOf(window);
    return table != nullptr && std::find(table->begin(), table->end(), hook) != table->end();
}

void Drop(HWND window, HookTable *table) {
    ::RemoveWindowSubclass(window, HookProc, kSubclassId);
    delete table;
}

// A client may unhook itself or destroy the window while it is called, so each call is made from a copy
// and only while its hook still stands. No exception may cross into user32: a client's call that throws is a
// failed step, skipped, and the other clients and the window's own handling still run.
void Notify(HWND window, const std::vector<Hook> &hooks, int32_t response, WPARAM wParam, LPARAM lParam) {
    for (const Hook &hook : hooks) {
        try {
            if (hook.client->ISubclass_MsgResponse() == response && IsHooked(window, hook))
                hook.client->ISubclass_WindowProc(window, hook.message, wParam, lParam);
        } catch (...) {
        }
    }
}

LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto *table = reinterpret_cast<HookTable *>(data);
    if (message == WM_NCDESTROY) {
        Drop(window, table);
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    std::vector<Hook> hooks;
    try {
        for (const Hook &hook : *table) {
            if (hook.message == message)
                hooks.push_back(hook);
        }
    } catch (...) {
        hooks.clear();  // no memory for the copy: the clients miss this message, the window still gets it
    }
    if (hooks.empty())
        return ::DefSubclassProc(window, message, wParam, lParam);

    Notify(window, hooks, MsgResponseBefore, wParam, lParam);
    const LRESULT result = ::IsWindow(window) ? ::DefSubclassProc(window, message, wParam, lParam) : 0;
    Notify(window, hooks, MsgResponseAfter, wParam, lParam);
    return result;
}

}  // namespace

bool HookMessage(ISubclass *client, HWND window, UINT message) {
    if (client == nullptr || ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId())
        return false;
    HookTable *table = TableOf(window);
    if (table == nullptr) {
        table = new HookTable;
        if (!::SetWindowSubclass(window, HookProc, kSubclassId, reinterpret_cast<DWORD_PTR>(table))) {
            delete table;
            return false;
        }
    }
    const Hook hook{client, message};
    if (std::find(table->begin(), table->end(), hook) == table->end())
        table->push_back(hook);
    return true;
}

bool UnhookMessage(ISubclass *client, HWND window, UINT message) {
    HookTable *table = TableOf(window);
    if (table == nullptr)
        return false;
    const auto found = std::find(table->begin(), table->end(), Hook{client, message});
    if (found == table->end())
        return false;
    table->erase(found);
    if (table->empty())
        Drop(window, table);
    return true;
}
