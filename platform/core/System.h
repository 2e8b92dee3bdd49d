#pragma once
// 8-bit strings and the basic types the program is written in.
#include <cstdint>
#include <string>

// Bytes, never converted; positions in the helpers below are 1-based as in the program's code.
using AnsiString = std::string;
using Byte = uint8_t;
