#include "memory_access.h"

#include <cstdlib>

#include "command_sectors.h"
#include "device_file.h"
#include "device_link.h"

namespace {

// Fills one sector with the model's memory-write command for one byte.
using SectorEncoder = void (*)(uint8_t* sector, uint32_t address, uint8_t data);

void encode_famicom_write(uint8_t* sector, uint32_t address, uint8_t data) {
    sector[1] = kFamicomFamily;
    sector[2] = 0x05;
    sector[4] = static_cast<uint8_t>(address);
    sector[5] = static_cast<uint8_t>(address >> 8);
    sector[8] = 0x01;
    sector[9] = 0x00;
    sector[12] = data;
}

void encode_pc_engine_write(uint8_t* sector, uint32_t address, uint8_t data) {
    sector[1] = kPcEngineFamily;
    sector[2] = 0x02;
    sector[3] = static_cast<uint8_t>(address);
    sector[4] = static_cast<uint8_t>(address >> 8);
    sector[5] = static_cast<uint8_t>(address >> 16);
    sector[6] = data;
}

// One sector per data byte, consecutive addresses, sent as one run.
int32_t write_memory_run(SectorEncoder encode, int32_t address, const uint8_t* data,
                         uint32_t length) {
    // The run's byte count must fit 32 bits.
    if (length >= (1u << 23)) return 0;
    const uint32_t run_length = length * kCommandSectorSize;
    auto* run = static_cast<uint8_t*>(std::calloc(run_length == 0 ? 1 : run_length, 1));
    if (run == nullptr) return 0;
    for (uint32_t i = 0; i < length; ++i)
        encode(run + i * kCommandSectorSize, static_cast<uint32_t>(address) + i, data[i]);
    const int32_t result = send_command_sectors(run, run_length);
    std::free(run);
    return result;
}

}  // namespace

int32_t read_memory_image(int32_t address, uint8_t* buffer, uint32_t length) {
    return read_device_file(device_file_name("DUMP.ROM").c_str(), buffer, length, address);
}

int32_t write_memory_famicom(int32_t address, const uint8_t* data, uint32_t length) {
    return write_memory_run(encode_famicom_write, address, data, length);
}

int32_t write_memory_pc_engine(int32_t address, const uint8_t* data, uint32_t length) {
    return write_memory_run(encode_pc_engine_write, address, data, length);
}
