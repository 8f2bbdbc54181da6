#pragma once
// The two replaceable device operations. Every console command and script
// function reaches the device through them and never learns the model.

#include <cstdint>

// Reads cartridge memory from address upward into buffer; returns the bytes
// placed, -1 on failure, 0 from the not-initialised stub.
using ReadMemoryOperation = int32_t (*)(int32_t address, uint8_t* buffer, uint32_t length);
// Writes length bytes of data from address upward; returns the command file
// bytes written (length * 512 on success), 0 or -1 on failure.
using WriteMemoryOperation = int32_t (*)(int32_t address, const uint8_t* data, uint32_t length);

struct DeviceSlots {
    ReadMemoryOperation read_memory;
    WriteMemoryOperation write_memory;
};

// Both slots hold the not-initialised stub until a device is selected.
extern DeviceSlots device_slots;

int32_t read_memory(int32_t address, uint8_t* buffer, uint32_t length);
int32_t write_memory(int32_t address, const uint8_t* data, uint32_t length);

// Puts the not-initialised stub in both slots.
void reset_device_slots();
