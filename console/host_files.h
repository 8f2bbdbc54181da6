#pragma once
#include <cstdint>

// Reads up to length bytes of the named file from offset into buffer.
// Returns the count read; 0 when the file cannot be opened (the buffer is
// then untouched).
uint32_t read_host_file(const char* name, uint8_t* buffer, uint32_t length, int32_t offset);

// Creates or empties the named file and writes length bytes into it. Returns
// the count written, 0 when the file cannot be created, -1 when the write
// fails (the file is then removed rather than left holding part of the data).
int32_t write_host_file(const char* name, const uint8_t* buffer, uint32_t length);
