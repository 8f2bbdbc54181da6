#pragma once
#include <cstddef>
#include <cstdint>

// The standard CRC-32 (reflected 0xEDB88320, register 0xFFFFFFFF, result
// inverted). The CRC of no bytes is 0, so an empty save reports 00000000.
uint32_t crc32(const uint8_t* data, size_t count);
