#pragma once
#include <cstddef>
#include <cstdint>

// CRC-16/XMODEM one bit at a time: polynomial 0x1021, start 0, no final
// XOR. Kept apart from the program's table so the two check each other.
uint16_t crc16_bitwise(const uint8_t* data, size_t count);
