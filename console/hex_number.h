#pragma once
#include <cstdint>

// Reads a console number in base 16: optional sign, optional "0x", digits up
// to the first other character. No digits reads as 0; a magnitude outside
// the signed 32-bit range saturates to 0x7FFFFFFF or -0x80000000.
int32_t parse_hex_number(const char* word);

constexpr uint32_t kMaximumTransferLength = 0x10000;

// A length is the number taken as unsigned, at most 0x10000: a negative
// length therefore means the largest one.
uint32_t parse_transfer_length(const char* word);
