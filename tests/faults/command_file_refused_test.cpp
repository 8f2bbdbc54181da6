// A drive whose command file cannot be written: selection still succeeds
// (the init command's result is not examined), writes are lost, and what
// the program then reads and saves is the memory as the device really has
// it, not what the lost writes would have made of it. The same session on
// a drive that takes commands shows the writes landing, so a lost write
// cannot pass unnoticed.

#include <gtest/gtest.h>

#include <cstdio>

#include "fault_session.h"
#include "files.h"
#include "temp_dir.h"
#include "test_images.h"

using devsim_test::DevsimMount;

namespace {

const char kSession[] =
    "d 0 11 before.bin\n"
    "w 0 5\n"
    "w 1 f pattern.bin\n"
    "do poke.lua\n"
    "d 0 11 after.bin\n"
    "init\n"
    "list\n";

const char kPoke[] = "fd_CpuWriteInt(0x10, 0x77)\nprint(string.format('cell %02X', fd_CpuReadInt(0x10)))\n";

struct Drive {
    const char* name;
    bool read_only;
};

class CommandFile : public ::testing::TestWithParam<Drive> {};

TEST_P(CommandFile, WritesLandOrAreLostAndReadsTellTheTruth) {
    REQUIRE_FUSE();
    const Drive& d = GetParam();
    TempDir logs;
    const std::string log = logs.file("sectors.log");
    std::vector<std::string> options = {"--log", log};
    if (d.read_only) options.push_back("--read-only");
    // CHR RAM at 0x0000 keeps what is written to it.
    DevsimMount mount(devsim_test::make_ines(0, 32, 0), "cart.nes", options);
    ASSERT_TRUE(mount.ok()) << mount.error();
    const std::string pattern = "0123456789abcde";
    write_file(mount.work() + "/pattern.bin", pattern);
    write_file(mount.work() + "/poke.lua", kPoke);

    const ProgramResult r = faults::run_on(mount, kSession);

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.compare(0, 24, "Init NV4_PCB02_FWV1.0 OK"), 0) << r.out;
    const auto before = work_file(mount, "before.bin");
    const auto after = work_file(mount, "after.bin");
    ASSERT_TRUE(before && after) << r.out;
    ASSERT_EQ(before->size(), 0x11u);
    ASSERT_EQ(after->size(), 0x11u);
    std::vector<uint8_t> written = *before;
    if (!d.read_only) {
        written[0] = 0x05;
        for (size_t i = 0; i < pattern.size(); ++i) written[1 + i] = static_cast<uint8_t>(pattern[i]);
        written[0x10] = 0x77;
    }
    EXPECT_TRUE(*after == written) << "after.bin is not the memory the device holds";

    const std::string out = faults::command_output(r.out);
    EXPECT_NE(out.find("-write 05 to 0000\n"), std::string::npos) << out;
    EXPECT_NE(out.find("-write 000F bytes to cartridge to 0001 from pattern.bin\n"), std::string::npos) << out;
    char cell[16];
    std::snprintf(cell, sizeof cell, "cell %02X\n", static_cast<unsigned>(written[0x10]));
    EXPECT_NE(out.find(cell), std::string::npos) << out;
    EXPECT_NE(out.find("-Init NV4_PCB02_FWV1.0 OK\n-Find E: NV4_PCB02_FWV1.0\n"), std::string::npos) << out;

    // Start-up, "w" twice, the script and "init": five runs reach a device
    // that takes commands, none one that refuses them.
    const std::vector<std::string> lines = faults::file_lines(log);
    EXPECT_EQ(lines.size(), d.read_only ? 0u : 1u + 1u + 15u + 1u + 1u);
    for (const std::string& line : lines) EXPECT_NE(line.find(": ok "), std::string::npos) << line;
}

const Drive kDrives[] = {{"takes_commands", false}, {"refuses_commands", true}};

INSTANTIATE_TEST_SUITE_P(Drives, CommandFile, ::testing::ValuesIn(kDrives),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
