#include "hex_number.h"

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int32_t parse_hex_number(const char* word) {
    const char* p = word;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hex_digit(p[2]) >= 0) p += 2;
    uint64_t magnitude = 0;
    for (int d; (d = hex_digit(*p)) >= 0; ++p) {
        magnitude = magnitude * 16 + static_cast<uint64_t>(d);
        if (magnitude > 0x80000000u) magnitude = 0x80000001u;  // saturated
    }
    if (negative) return magnitude >= 0x80000000u ? INT32_MIN : -static_cast<int32_t>(magnitude);
    return magnitude > 0x7FFFFFFFu ? INT32_MAX : static_cast<int32_t>(magnitude);
}

uint32_t parse_transfer_length(const char* word) {
    const uint32_t length = static_cast<uint32_t>(parse_hex_number(word));
    return length > kMaximumTransferLength ? kMaximumTransferLength : length;
}
