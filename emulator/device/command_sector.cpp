#include "device/command_sector.h"

#include <cstdio>

#include "crc16_xmodem.h"

namespace devsim {

namespace {

constexpr uint8_t kSectorMark = 0x5A;  // 'Z'
constexpr uint8_t kInit = 0x01;
constexpr uint8_t kFamicomWrite = 0x05;
constexpr uint8_t kPcEngineWrite = 0x02;
constexpr uint32_t kFamicomDataOffset = 12;
constexpr uint32_t kFamicomMaxCount = 510 - kFamicomDataOffset;

std::string hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

}  // namespace

SectorCheck check_sector(const uint8_t* s, Family family) {
    SectorCheck check;
    if (s[0] != kSectorMark) {
        check.verdict = SectorVerdict::no_z;
        return check;
    }
    check.stored_crc = static_cast<uint16_t>((s[510] << 8) | s[511]);
    check.computed_crc = crc16_xmodem(s, 510);
    if (check.stored_crc != check.computed_crc) {
        check.verdict = SectorVerdict::bad_crc;
        return check;
    }
    if (s[1] != family_byte(family)) {
        check.verdict = SectorVerdict::wrong_family;
        return check;
    }
    Command& c = check.command;
    if (s[2] == kInit) {
        c.kind = CommandKind::init;
        c.argument = family == Family::famicom ? s[4] : 0;
        return check;
    }
    if (family == Family::famicom && s[2] == kFamicomWrite) {
        c.kind = CommandKind::memory_write;
        c.address = static_cast<uint32_t>(s[4] | (s[5] << 8));
        c.count = static_cast<uint32_t>(s[8] | (s[9] << 8));
        c.data = s + kFamicomDataOffset;
        if (c.count == 0 || c.count > kFamicomMaxCount) check.verdict = SectorVerdict::bad_count;
        return check;
    }
    if (family == Family::pc_engine && s[2] == kPcEngineWrite) {
        c.kind = CommandKind::memory_write;
        c.address = static_cast<uint32_t>(s[3] | (s[4] << 8) | (s[5] << 16));
        c.count = 1;
        c.data = s + 6;
        return check;
    }
    check.verdict = SectorVerdict::unknown_command;
    return check;
}

std::string describe_sector(const SectorCheck& check, const uint8_t* s) {
    switch (check.verdict) {
        case SectorVerdict::ok:
            break;
        case SectorVerdict::no_z:
            return "dropped: byte 0 is " + hex(s[0], 2) + ", not 5A ('Z')";
        case SectorVerdict::bad_crc:
            return "dropped: bad CRC (sector says " + hex(check.stored_crc, 4) + ", bytes give " +
                   hex(check.computed_crc, 4) + ")";
        case SectorVerdict::wrong_family:
            return "dropped: family byte " + hex(s[1], 2) + " is not this device's";
        case SectorVerdict::unknown_command:
            return "dropped: unknown command " + hex(s[2], 2);
        case SectorVerdict::bad_count:
            return "dropped: memory write of " + std::to_string(check.command.count) + " bytes";
    }
    const Command& c = check.command;
    if (c.kind == CommandKind::init) return "ok init " + hex(c.argument, 2);
    const bool wide = s[1] != family_byte(Family::famicom);
    std::string text = "ok write " + hex(c.address, wide ? 6 : 4);
    for (uint32_t i = 0; i < c.count; ++i) text += " " + hex(c.data[i], 2);
    return text;
}

}  // namespace devsim
