#pragma once
// Byte blocks cross the script boundary as hex text: two digits per byte,
// high nibble first.

#include <cstdint>

// Writes the upper-case hex text of count bytes and its NUL into text.
// *length holds the capacity of text on entry and the number of digits
// written on return (0 on failure). Fails, writing nothing, when text has no
// room for 2 * count digits and the NUL or when bytes or text is null.
// Returns 1 on success, 0 on failure.
int hex_encode(const uint8_t* bytes, uint32_t count, char* text, uint32_t* length);

// Decodes the NUL-terminated text into bytes. Digits of either case count;
// every other character, and every byte of 0x80 or above, is skipped without
// breaking a pair; a digit left without a partner at the end is dropped.
// *count holds the capacity of bytes on entry and the number of bytes
// written on return; decoding stops once the capacity is full. Returns 0,
// leaving *count alone, when any argument is null; 1 otherwise.
int hex_decode(const char* text, uint8_t* bytes, uint32_t* count);
