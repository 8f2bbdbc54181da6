#include "command_sectors.h"

#include <algorithm>

#include "crc16_xmodem.h"
#include "device_link.h"
#include "platform.h"

int32_t send_command_sectors(uint8_t* buffer, uint32_t length) {
    // A partial sector could only be framed past the end of the run.
    if (length % kCommandSectorSize != 0) return 0;
    // A few sectors at a time, their CRCs worked out side by side: one CRC
    // after another leaves the processor waiting on each look-up, and a
    // 64 KiB write frames 65536 sectors.
    constexpr uint32_t kSectorsAtOnce = 16;
    const uint32_t sectors = length / kCommandSectorSize;
    for (uint32_t first = 0; first < sectors; first += kSectorsAtOnce) {
        const uint32_t count = std::min(kSectorsAtOnce, sectors - first);
        uint8_t* group = buffer + first * kCommandSectorSize;
        for (uint32_t k = 0; k < count; ++k) group[k * kCommandSectorSize] = 0x5A;
        uint16_t crcs[kSectorsAtOnce];
        crc16_xmodem_blocks(group, kCommandSectorSize - 2, kCommandSectorSize, count, crcs);
        for (uint32_t k = 0; k < count; ++k) {
            uint8_t* sector = group + k * kCommandSectorSize;
            sector[510] = static_cast<uint8_t>(crcs[k] >> 8);
            sector[511] = static_cast<uint8_t>(crcs[k] & 0xFF);
        }
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
