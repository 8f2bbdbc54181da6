#pragma once
#include <cstdint>

// The unbuffered read of one device file: length bytes from offset into
// buffer, every byte served by the device. Returns the number of requested
// bytes the file delivered (fewer at its end, never invented), -1 when the
// file cannot be opened or read, 0 for a null buffer.
int32_t read_device_file(const char* path, uint8_t* buffer, uint32_t length, int32_t offset);
