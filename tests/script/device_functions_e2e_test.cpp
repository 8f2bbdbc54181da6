// Scripts reading, writing and probing cartridge memory through the slots
// of the selected device, or of none.

#include <gtest/gtest.h>

#include "device_drive.h"
#include "files.h"
#include "script_session.h"

namespace {

HostFile script(const std::string& text) { return {"t.lua", text}; }

std::string byte_text(uint32_t address) { return std::to_string(image_byte(address)); }

std::vector<ScriptCase> device_cases() {
    const Cartridge fc = Cartridge::famicom;
    const Cartridge none = Cartridge::none;
    const std::string run = "do t.lua\n";
    const std::string stub = kNotInitialised;
    const uint32_t negative = negative_crc_address();
    const std::string negative_code = std::to_string(negative);
    return {
        {"ByteReadsOfBothNamesAgree", fc,
         {script("print(fd_CpuReadInt(0x13), fd_PpuReadInt(0x13), fd_CpuReadInt(0x8001), "
                 "fd_PpuReadInt('16'))")},
         run,
         session(fc, {byte_text(0x13) + "\t" + byte_text(0x13) + "\t" + byte_text(0x8001) + "\t" +
                      byte_text(16) + "\n"}),
         famicom_init_sector()},
        {"ByteReadThatDeliversNothingIsZero", fc,
         {script("print(fd_CpuReadInt(0x11000), fd_CpuReadInt(-1))")}, run, session(fc, {"0\t0\n"})},
        {"BlockReadsOfBothNamesAgree", fc,
         {script("print(fd_CpuReadAscii(0x8000, 16))\nprint(fd_PpuReadAscii(0x8000, 16))\n"
                 "print(fd_CpuReadAscii(" + negative_code + ", 16))")},
         run,
         session(fc, {block_read_line(0x8000, 16) + block_read_line(0x8000, 16) +
                      block_read_line(negative, 16)})},
        {"BlockReadStopsWhereTheImageEnds", fc,
         {script("print(fd_CpuReadAscii(0x10FF8, 16))\nprint(fd_CpuReadAscii(0x11000, 16))")}, run,
         session(fc, {block_read_line(0x10FF8, 8) + "0\t\n"})},
        {"EmptyAndFailedBlockReads", fc,
         {script("print(fd_CpuReadAscii(0x100, 0))\nprint(fd_CpuReadAscii(-512, 16))")}, run,
         session(fc, {"0\t\n0\t\n"})},
        {"FullBlockReadsReachTheScript", fc,
         {script("local crc, text = fd_CpuReadAscii(0, 0x10000)\n"
                 "print(crc, #text, fd_WriteFile('block.bin', text, 1))\n"
                 "crc, text = fd_PpuReadAscii(1, 0xFFFF)\n"
                 "print(#text)")},
         run,
         session(fc, {block_read_line(0, 0x10000).substr(0, block_read_line(0, 0x10000).find('\t')) +
                      "\t131072\t65536\n131070\n"}),
         std::nullopt, {{"block.bin", pattern_image(0x10000)}}},
        {"BlockReadLengthOutOfRange", fc,
         {{"a.lua", "fd_CpuReadAscii(0, 0x10001)"}, {"b.lua", "fd_PpuReadAscii(0, -1)"}},
         "do a.lua\ndo b.lua\n",
         session(fc, {argument_error("a.lua", 1, 2, "fd_CpuReadAscii", "length out of range"),
                      argument_error("b.lua", 1, 2, "fd_PpuReadAscii", "length out of range")})},
        {"ByteWriteKeepsTheLowEightBits", fc, {script("fd_CpuWriteInt(0x8000, 0x1FF)")}, run,
         session(fc, {""}), famicom_write_sector(0x8000, 0xFF)},
        {"ByteWriteOfMinusOne", fc, {script("fd_PpuWriteInt(0x8001, -1)")}, run, session(fc, {""}),
         famicom_write_sector(0x8001, 0xFF)},
        {"ByteWriteOf256", fc, {script("fd_CpuWriteInt(7, 256)")}, run, session(fc, {""}),
         famicom_write_sector(7, 0x00)},
        {"WritesGoThroughTheSelectedModel", Cartridge::pc_engine,
         {script("fd_CpuWriteInt(0x12345, 0xA5)")}, run, session(Cartridge::pc_engine, {""}),
         pc_engine_write_sector(0x12345, 0xA5)},
        {"BlockWriteSkipsNonDigitsAndDropsALoneOne", fc,
         {script("fd_CpuWriteAscii(0x8000, '0a 1B-c')")}, run, session(fc, {""}),
         famicom_sectors(0x8000, bytes({0x0A, 0x1B}))},
        {"BlockWriteOfANumber", fc, {script("fd_PpuWriteAscii(0x8000, 1234)")}, run, session(fc, {""}),
         famicom_sectors(0x8000, bytes({0x12, 0x34}))},
        {"BlockWriteWithoutDigitsWritesNothing", fc, {script("fd_CpuWriteAscii(0x8000, 'xyz')")}, run,
         session(fc, {""}), std::string()},
        {"RamTestWhereNothingKeepsThePattern", fc, {script("print(fd_CheckSRAM())")}, run,
         session(fc, {"0\n"}), famicom_sectors(0x6000, kRamTestPattern)},
        {"RamTestWhereRamKeepsThePattern", Cartridge::famicom_ram, {script("print(fd_CheckSRAM())")}, run,
         session(fc, {"1\n"}), famicom_sectors(0x6000, kRamTestPattern)},
        {"VideoRomTestOnRom", fc, {script("print(fd_CheckVROM())")}, run, session(fc, {"1\n"}),
         famicom_sectors(0, kRamTestPattern)},
        {"VideoRomTestOnWritableMemory", Cartridge::famicom_ram, {script("print(fd_CheckVROM())")}, run,
         session(fc, {"0\n"}), famicom_sectors(0, kRamTestPattern)},
        {"MirrorAndCpuModeTouchNothing", fc,
         {script("print(fd_CheckMirror(), select('#', fd_SetCpuMode(1)), select('#', fd_SetCpuMode('2')))")},
         run, session(fc, {"0\t0\t0\n"}), famicom_init_sector()},
        {"CpuModeNeedsANumber", fc,
         {{"a.lua", "fd_SetCpuMode()"}, {"b.lua", "fd_SetCpuMode('fast')"}}, "do a.lua\ndo b.lua\n",
         session(fc, {argument_error("a.lua", 1, 1, "fd_SetCpuMode", "number expected, got no value"),
                      argument_error("b.lua", 1, 1, "fd_SetCpuMode", "number expected, got string")})},
        // With no device every slot call prints the stub's lines, so a
        // missing argument that printed them would have reached the device.
        {"ArgumentsAreCheckedBeforeTheDevice", none,
         {{"a.lua", "fd_CpuWriteInt(0x8000)"}, {"b.lua", "fd_PpuWriteAscii(0x8000)"},
          {"c.lua", "fd_CpuReadAscii(0)"}, {"d.lua", "fd_PpuReadInt({})"}},
         "do a.lua\ndo b.lua\ndo c.lua\ndo d.lua\n",
         session(none, {argument_error("a.lua", 1, 2, "fd_CpuWriteInt", "number expected, got no value"),
                        argument_error("b.lua", 1, 2, "fd_PpuWriteAscii", "string expected, got no value"),
                        argument_error("c.lua", 1, 2, "fd_CpuReadAscii", "number expected, got no value"),
                        argument_error("d.lua", 1, 1, "fd_PpuReadInt", "number expected, got table")})},
        {"WithoutADevice", none,
         {script("print(fd_CheckSRAM())\nprint(fd_CheckVROM())\nprint(fd_CheckMirror())\n"
                 "fd_SetCpuMode(0)\nprint(fd_CpuReadInt(0))\nprint(fd_CpuReadAscii(0, 16))\n"
                 "fd_CpuWriteInt(0, 1)\nfd_CpuWriteAscii(0, '1234')\nprint('end')")},
         run,
         session(none, {stub + stub + "0\n" + stub + stub + "1\n" + "0\n" + stub + "0\n" + stub + "0\t\n" +
                        stub + stub + "end\n"})},
    };
}

class DeviceFunctions : public ::testing::TestWithParam<RunnerCase> {};

TEST_P(DeviceFunctions, MatchByteForByte) { run_script_case(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Scripts, DeviceFunctions, ::testing::ValuesIn(on_every_runner(device_cases())),
                         [](const ::testing::TestParamInfo<RunnerCase>& info) {
                             return runner_case_name(info.param);
                         });

TEST(DeviceFunctionsFixture, OneCrcReadsNegative) {
    EXPECT_EQ(block_read_line(negative_crc_address(), 16)[0], '-');
}

}  // namespace
