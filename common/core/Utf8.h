// UTF-8 text against a byte limit. Pure: no Windows header.
#pragma once
#include <cstddef>
#include <string_view>

// The longest start of `text` of at most `maxBytes` bytes that ends between two characters: a cut never leaves
// the first bytes of a UTF-8 sequence behind.
std::string_view Utf8Prefix(std::string_view text, size_t maxBytes);
