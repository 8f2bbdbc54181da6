#include "hex_codec.h"

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// Digit values for the codes 0x00 to 0x7F, -1 for every non-digit.
constexpr int8_t kDecodeTable[128] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,  // 0x00
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,  // 0x10
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,  // 0x20
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  -1, -1, -1, -1, -1, -1,  // 0x30
    -1, 10, 11, 12, 13, 14, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1,  // 0x40
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,  // 0x50
    -1, 10, 11, 12, 13, 14, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1,  // 0x60
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,  // 0x70
};

}  // namespace

int hex_encode(const uint8_t* bytes, uint32_t count, char* text, uint32_t* length) {
    const uint64_t needed = 2 * static_cast<uint64_t>(count) + 1;
    if (*length < needed || bytes == nullptr || text == nullptr) {
        *length = 0;
        return 0;
    }
    char* out = text;
    for (uint32_t i = 0; i < count; ++i) {
        *out++ = kDigits[bytes[i] >> 4];
        *out++ = kDigits[bytes[i] & 0x0F];
    }
    *out = '\0';
    *length = 2 * count;
    return 1;
}

int hex_decode(const char* text, uint8_t* bytes, uint32_t* count) {
    if (text == nullptr || bytes == nullptr || count == nullptr) return 0;
    const uint32_t capacity = *count;
    uint32_t written = 0;
    int high = -1;  // the pending high nibble, -1 while none is held
    for (const char* p = text; *p != '\0' && written < capacity; ++p) {
        const auto code = static_cast<unsigned char>(*p);
        if (code >= 0x80) continue;
        const int digit = kDecodeTable[code];
        if (digit < 0) continue;
        if (high < 0) {
            high = digit;
        } else {
            bytes[written++] = static_cast<uint8_t>(high * 16 + digit);
            high = -1;
        }
    }
    *count = written;
    return 1;
}
