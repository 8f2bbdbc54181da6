#pragma once
#include <cstddef>
#include <cstdint>

// CRC-16/XMODEM: polynomial 0x1021, register 0, most significant bit first,
// no reflection, no final inversion. Frames every command sector.
uint16_t crc16_xmodem(const uint8_t* data, size_t count);
