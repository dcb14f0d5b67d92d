// The system's message text for a Windows error code.
#pragma once
#include <cstdint>
#include <string>

// As the system writes it (usually ending in CR LF), in the ANSI code page; empty when there is none.
std::string WinAPIErrorText(uint32_t code);
