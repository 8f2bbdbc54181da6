#pragma once
#include <cstdint>

#include "hex_number.h"

// The console's buffer for "d" and "w" data; its contents outlive a command.
extern uint8_t TransferBuffer[kMaximumTransferLength];

// "w address value" and "w address length file".
void memory_write_command(int word_count);

// "d", "d address", "d address length" and "d address length file".
void memory_dump_command(int word_count);

// The hex dump of "d": 16 bytes a line, each line labelled with its address.
void print_hex_dump(uint32_t start_address, const uint8_t* bytes, uint32_t length);
