#pragma once
#include <cstddef>
#include <cstdint>

// CRC-16/XMODEM: polynomial 0x1021, register 0, most significant bit first,
// no reflection, no final inversion. Frames every command sector.
uint16_t crc16_xmodem(const uint8_t* data, size_t count);

// crc16_xmodem of each of blocks blocks of count bytes, the blocks stride
// bytes apart, into crcs. One block's CRC is a chain of dependent table
// look-ups that leaves the processor mostly waiting; several blocks in step
// keep it busy, which is what makes framing a long run of sectors cheap.
void crc16_xmodem_blocks(const uint8_t* data, size_t count, size_t stride, size_t blocks,
                         uint16_t* crcs);
