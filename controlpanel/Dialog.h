// Dialog: the modal "Record shortcut key" window. It previews every key release, whichever of its controls has
// the focus, and hands the key to its owner as the row's new key; Cancel closes it without recording.
#pragma once
#include "Handles.h"
#include "Window.h"

#include <cstdint>
#include <functional>
#include <string>

class Dialog : public Window {
public:
    using KeySink = std::function<void(int16_t keyNumber, int16_t keyCode)>;
    explicit Dialog(KeySink setKey) : m_setKey(std::move(setKey)) {}

    // Key number 1..4: the key for desktop 1..4; 5: the key for the previous desktop.
    void SetState(int16_t keyNumber);
    // Shows the dialog centred on `owner`, which is disabled meanwhile; returns once it is closed.
    void ShowModal(HWND owner);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Create(HWND owner);
    bool Preview(const MSG &message);
    void Form_KeyUp(WPARAM keyCode);
    void CancelButton_Click();
    void OnCommand(int id);

    KeySink m_setKey;
    int16_t m_keyNumber = 0;
    std::string m_prompt;
    GdiObject<HFONT> m_font;
    bool m_open = false;
    // A release counts only after a key went down here: the Enter or Space that opened the dialog must not
    // record itself.
    bool m_keyWentDown = false;
};
