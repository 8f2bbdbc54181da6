#pragma once
#include <cstddef>
#include <cstdint>

// The checksums one bit at a time, kept apart from the program's tables so
// the two check each other.

// CRC-16/XMODEM: polynomial 0x1021, start 0, no final XOR.
uint16_t crc16_bitwise(const uint8_t* data, size_t count);

// CRC-32 as zip computes it: reflected polynomial 0xEDB88320, start and
// final XOR 0xFFFFFFFF.
uint32_t crc32_bitwise(const uint8_t* data, size_t count);
