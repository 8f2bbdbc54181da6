#include "crc16_bitwise.h"

uint16_t crc16_bitwise(const uint8_t* data, size_t count) {
    uint16_t crc = 0;
    for (size_t i = 0; i < count; ++i) {
        crc ^= static_cast<uint16_t>(data[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}
