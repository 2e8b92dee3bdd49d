#pragma once
// 8-bit strings and the basic types the program is written in.
#include <cstdint>
#include <string>
#include <string_view>

// Bytes, never converted; positions in the helpers below are 1-based as in the program's code.
using AnsiString = std::string;
using Byte = uint8_t;

// 1-based position of the first occurrence of sub in s; 0 when there is none or sub is empty.
int Pos(std::string_view sub, std::string_view s);

// Up to count bytes of s from the 1-based index. A start before 1 counts from 1; a start or
// count past the end gives fewer bytes (possibly none); a negative count gives none.
AnsiString Copy(std::string_view s, int index1, int count);

// Length up to the first NUL byte, or the whole length when there is none.
int CStrLen(std::string_view s);

// Colour as 0x00BBGGRR; values with the top bit set name a system colour by its index.
using TColor = int32_t;

constexpr TColor SystemColor(int index)
{
  return static_cast<TColor>(0x80000000u + static_cast<uint32_t>(index));
}

constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clInfoBk = SystemColor(24);
