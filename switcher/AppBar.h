// Where the taskbar is docked, so the popup can open beside it.
#pragma once
#include <cstdint>

// 0 left, 1 top, 2 right, 3 bottom; 0 when the shell does not answer.
int16_t GetTaskbarEdge();
