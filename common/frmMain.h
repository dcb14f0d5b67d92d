// The program's identity: its desktop number (5 for the hub) and the tag on its command window.
// Each program compiles frmMain.cpp with its own VARNEL_DESKNUM.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

int16_t DeskNum();
std::string GetWindowTag();
// Marks the window that receives the program's copy-data commands, so the relays can find it.
void TagWindow(HWND window);
