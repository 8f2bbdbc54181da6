#include "command_sectors.h"

#include "crc16_xmodem.h"
#include "device_link.h"
#include "platform.h"

int32_t send_command_sectors(uint8_t* buffer, uint32_t length) {
    // A partial sector could only be framed past the end of the run.
    if (length % kCommandSectorSize != 0) return 0;
    for (uint32_t at = 0; at < length; at += kCommandSectorSize) {
        uint8_t* sector = buffer + at;
        sector[0] = 0x5A;
        const uint16_t crc = crc16_xmodem(sector, kCommandSectorSize - 2);
        sector[510] = static_cast<uint8_t>(crc >> 8);
        sector[511] = static_cast<uint8_t>(crc & 0xFF);
    }
    return platform::write_command_file(device_file_name("CMD.CMD").c_str(), buffer, length);
}

int32_t send_init_famicom(uint8_t argument) {
    uint8_t sector[kCommandSectorSize] = {};
    sector[1] = kFamicomFamily;
    sector[2] = 0x01;
    sector[4] = argument;
    return send_command_sectors(sector, sizeof sector);
}

int32_t send_init_pc_engine() {
    uint8_t sector[kCommandSectorSize] = {};
    sector[1] = kPcEngineFamily;
    sector[2] = 0x01;
    return send_command_sectors(sector, sizeof sector);
}
