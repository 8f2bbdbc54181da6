#pragma once
#include <cstdint>

// The operations installed in the slots while a device is selected.
int32_t read_memory_image(int32_t address, uint8_t* buffer, uint32_t length);
int32_t write_memory_famicom(int32_t address, const uint8_t* data, uint32_t length);
int32_t write_memory_pc_engine(int32_t address, const uint8_t* data, uint32_t length);
