// The name of a key in the user's current keyboard layout.
#pragma once
#include "core/KeyNames.h"

#include <cstdint>
#include <string>

// Empty when the layout has no name for the key.
std::string KeyText(uint16_t virtualKey);
