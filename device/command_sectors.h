#pragma once
#include <cstdint>

constexpr uint32_t kCommandSectorSize = 512;
constexpr uint8_t kFamicomFamily = 0x0E;
constexpr uint8_t kPcEngineFamily = 0x11;

// Frames each 512-byte sector of the run in place (0x5A in byte 0, the
// CRC-16/XMODEM of bytes 0-509 in bytes 510-511, high byte first) and writes
// the run as the whole content of the command file. Returns the bytes written,
// 0 when the command file cannot be created or the length is not a multiple
// of 512 (nothing is written then), -1 when the write fails.
int32_t send_command_sectors(uint8_t* buffer, uint32_t length);

int32_t send_init_famicom(uint8_t argument);
int32_t send_init_pc_engine();
