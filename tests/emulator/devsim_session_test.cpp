// The program driven at the mounted emulator as a user drives it: start-up
// selection, console commands and scripts, the saves compared with the
// cartridge image, and the program's answers to the device faults. Two of
// the sessions run against each program this build made (the Linux one, and
// the Windows one under Wine where present: its file calls reach the mount
// through Wine's own flags); the rest against the Linux program, since a
// Wine session costs seconds where a Linux one costs milliseconds.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "caldrin_runner.h"
#include "crc32.h"
#include "devsim_mount.h"
#include "files.h"
#include "test_images.h"

using namespace devsim_test;

#define REQUIRE_FUSE() REQUIRE_FUSE_FOR("END-TO-END TEST")

namespace {

std::vector<std::shared_ptr<CaldrinRunner>> every_program() { return available_runners(); }

std::vector<std::shared_ptr<CaldrinRunner>> linux_program() {
    auto all = available_runners();
    all.resize(1);  // the Linux program comes first
    return all;
}

const std::string kFamicomInit = "Init NV4_PCB02_FWV1.0 OK\n";
const std::string kPcEngineInit = "Init HX8_PCB02_FWV1.0 OK\n";

struct Session {
    std::string out;
    int status = -1;
};

// One program run on a fresh mount of image, with drive E: on the mount.
// Scripts are written to the working folder first.
Session run_session(CaldrinRunner& runner, DevsimMount& mount, const std::string& input,
                    const std::vector<std::pair<std::string, std::string>>& scripts = {}) {
    for (const auto& [name, text] : scripts) write_file(mount.work() + "/" + name, text);
    const ProgramResult r = runner.run({{'E', mount.mountpoint()}}, input, mount.work());
    EXPECT_FALSE(r.timed_out) << runner.name() << ": the program did not finish";
    Session s;
    s.out = runner.normalise(r.out);
    s.status = r.status;
    if (r.status != 0) ADD_FAILURE() << runner.name() << " exited with " << r.status << ": " << r.err;
    return s;
}

std::string upper_hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    char digits[3];
    for (uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        text += digits;
    }
    return text;
}

std::string save_line(const std::vector<uint8_t>& bytes, const std::string& name) {
    char line[128];
    std::snprintf(line, sizeof line, "write %.4X(crc:%.8X) bytes to file(%s)\n", static_cast<unsigned>(bytes.size()),
                  static_cast<unsigned>(crc32(bytes.data(), bytes.size())), name.c_str());
    return line;
}

std::vector<uint8_t> saved(const DevsimMount& m, const std::string& name) { return read_bytes(m.work() + "/" + name); }

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The console lines that load an MMC1 register through its serial port.
std::string mmc1_console_load(const char* address, unsigned value) {
    std::string lines;
    for (int bit = 0; bit < 5; ++bit) lines += "w " + std::string(address) + " " + std::to_string((value >> bit) & 1) + "\n";
    return lines;
}

const char kMmc1Script[] = R"(-- PRG and CHR banks through the MMC1 serial port
local function load(address, value)
  for i = 0, 4 do
    fd_CpuWriteInt(address, math.floor(value / 2 ^ i) % 2)
  end
end
load(0x8000, 0x1C)  -- 4 KiB CHR banks, PRG bank switched at 0x8000
load(0xA000, 9)
load(0xC000, 3)
load(0xE000, 6)
local c0, chr0 = fd_PpuReadAscii(0x0000, 0x100)
local c1, chr1 = fd_PpuReadAscii(0x1000, 0x100)
local cp, prg = fd_CpuReadAscii(0x8000, 0x100)
print("chr0 " .. chr0)
print("chr1 " .. chr1)
print("prg " .. prg)
)";

}  // namespace

TEST(DevsimSession, Mmc1BanksByConsoleAndScript) {
    REQUIRE_FUSE();
    for (const auto& runner : every_program()) {
        SCOPED_TRACE(runner->name());
        DevsimMount m(make_ines(1, 256, 128), "mmc1.nes");
        ASSERT_TRUE(m.ok()) << m.error();
        const Session s = run_session(*runner, m,
                                      "list\n" + mmc1_console_load("e000", 5) + "d 8000 4000 bank5.bin\nd c000 4000 last.bin\n"
                                          "do mmc1.lua\nq\n",
                                      {{"mmc1.lua", kMmc1Script}});
        EXPECT_EQ(s.out.rfind(kFamicomInit, 0), 0u) << s.out;
        EXPECT_TRUE(contains(s.out, "-Find E: NV4_PCB02_FWV1.0\n")) << s.out;
        EXPECT_EQ(saved(m, "bank5.bin"), prg_bytes(5 * 0x4000, 0x4000));
        EXPECT_TRUE(contains(s.out, save_line(prg_bytes(5 * 0x4000, 0x4000), "bank5.bin"))) << s.out;
        EXPECT_EQ(saved(m, "last.bin"), prg_bytes(15 * 0x4000, 0x4000));
        EXPECT_TRUE(contains(s.out, "chr0 " + upper_hex(chr_bytes(9 * 0x1000, 0x100)) + "\n")) << s.out;
        EXPECT_TRUE(contains(s.out, "chr1 " + upper_hex(chr_bytes(3 * 0x1000, 0x100)) + "\n")) << s.out;
        EXPECT_TRUE(contains(s.out, "prg " + upper_hex(prg_bytes(6 * 0x4000, 0x100)) + "\n")) << s.out;
    }
}

TEST(DevsimSession, WholeAddressSpaceSave) {
    REQUIRE_FUSE();
    for (const auto& runner : linux_program()) {
        SCOPED_TRACE(runner->name());
        DevsimMount m(make_ines(4, 128, 128, true), "mmc3.nes");
        ASSERT_TRUE(m.ok()) << m.error();
        // The RAM is enabled and given a byte, so all four regions show.
        const Session s = run_session(*runner, m, "w a001 80\nw 6001 a5\nd 0 10000 all.bin\nq\n");
        std::vector<uint8_t> want = chr_bytes(0, 0x2000);
        want.resize(0x6000, 0xFF);
        want.resize(0x8000, 0x00);
        want[0x6001] = 0xA5;
        for (uint32_t bank : {0u, 1u, 14u, 15u}) {
            const auto b = prg_bytes(bank * 0x2000, 0x2000);
            want.insert(want.end(), b.begin(), b.end());
        }
        EXPECT_EQ(saved(m, "all.bin"), want);
        EXPECT_TRUE(contains(s.out, save_line(want, "all.bin"))) << s.out;
    }
}

TEST(DevsimSession, DiscreteBoardBankSwitchMeetsTheBusConflict) {
    REQUIRE_FUSE();
    for (const auto& runner : linux_program()) {
        SCOPED_TRACE(runner->name());
        DevsimMount m(make_ines(2, 128, 0), "uxrom.nes");
        ASSERT_TRUE(m.ok()) << m.error();
        // 0xFF written where the ROM holds 3 latches 3.
        run_session(*runner, m, "w ff03 ff\nd 8000 4000 b3.bin\nw ff00 5\nd 8000 100 b0.bin\nq\n");
        EXPECT_EQ(saved(m, "b3.bin"), prg_bytes(3 * 0x4000, 0x4000));
        EXPECT_EQ(saved(m, "b0.bin"), prg_bytes(0, 0x100));
    }
}

TEST(DevsimSession, RamAndVideoRomTests) {
    REQUIRE_FUSE();
    const char* script = "print('sram ' .. fd_CheckSRAM() .. ' vrom ' .. fd_CheckVROM())\n";
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        const char* cart;
        std::vector<std::string> options;
        std::string want;
    } cases[] = {
        {"CHR RAM and battery RAM", make_ines(0, 32, 0, true), "a.nes", {}, "sram 1 vrom 0\n"},
        {"CHR ROM, no RAM", make_ines(0, 32, 8), "b.nes", {}, "sram 0 vrom 1\n"},
        {"CHR ROM, RAM by option", make_ines(3, 32, 32), "c.nes", {"--prg-ram"}, "sram 1 vrom 1\n"},
        {"HuCard", make_hucard(256), "d.pce", {}, "sram 0 vrom 1\n"},
    };
    for (const auto& runner : linux_program()) {
        for (const Case& k : cases) {
            SCOPED_TRACE(runner->name() + ": " + k.name);
            DevsimMount m(k.image, k.cart, k.options);
            ASSERT_TRUE(m.ok()) << m.error();
            const Session s = run_session(*runner, m, "do t.lua\nq\n", {{"t.lua", script}});
            EXPECT_TRUE(contains(s.out, "-" + k.want)) << s.out;
        }
        SCOPED_TRACE(runner->name() + ": MMC3 RAM enable");
        DevsimMount m(make_ines(4, 128, 128, true), "mmc3.nes");
        ASSERT_TRUE(m.ok()) << m.error();
        const Session s = run_session(*runner, m, "do t.lua\nw a001 80\ndo t.lua\nq\n", {{"t.lua", script}});
        EXPECT_TRUE(contains(s.out, "-sram 0 vrom 1\n-write 80 to A001\n-sram 1 vrom 1\n")) << s.out;
    }
}

TEST(DevsimSession, PcEngineCardWithBankPort) {
    REQUIRE_FUSE();
    for (const auto& runner : linux_program()) {
        SCOPED_TRACE(runner->name());
        DevsimMount m(make_hucard(2560), "sf2.pce");
        ASSERT_TRUE(m.ok()) << m.error();
        const Session s = run_session(*runner, m, "d 80000 2000 b0.bin\nw 1ff2 0\nd 80000 2000 b2.bin\nd 0 100 low.bin\nq\n");
        EXPECT_EQ(s.out.rfind(kPcEngineInit, 0), 0u) << s.out;
        EXPECT_EQ(saved(m, "b0.bin"), hucard_bytes(0x80000, 0x2000));
        EXPECT_EQ(saved(m, "b2.bin"), hucard_bytes(0x80000 + 2 * 0x80000, 0x2000));
        EXPECT_EQ(saved(m, "low.bin"), hucard_bytes(0, 0x100));
    }
}

TEST(DevsimSession, ReadOnlyCommandFile) {
    REQUIRE_FUSE();
    for (const auto& runner : linux_program()) {
        SCOPED_TRACE(runner->name());
        DevsimMount m(make_ines(0, 32, 0, true), "nrom.nes", {"--read-only"});
        ASSERT_TRUE(m.ok()) << m.error();
        const Session s = run_session(*runner, m, "w 6000 5a\nd 6000 10 ram.bin\nq\n");
        EXPECT_EQ(s.out.rfind(kFamicomInit, 0), 0u) << "selection does not depend on the init arriving\n" << s.out;
        EXPECT_TRUE(contains(s.out, "-write 5A to 6000\n")) << s.out;
        EXPECT_EQ(saved(m, "ram.bin"), std::vector<uint8_t>(0x10, 0x00)) << "the write never reached the device";
    }
}

TEST(DevsimSession, FailingReadsSaveNothing) {
    REQUIRE_FUSE();
    for (const auto& runner : linux_program()) {
        SCOPED_TRACE(runner->name());
        DevsimMount m(make_ines(0, 32, 8), "nrom.nes", {"--fail-reads"});
        ASSERT_TRUE(m.ok()) << m.error();
        const Session s = run_session(*runner, m, "d 8000 100 f.bin\nlist\nq\n");
        EXPECT_EQ(s.out.rfind(kFamicomInit, 0), 0u) << "the identification file still reads\n" << s.out;
        EXPECT_FALSE(contains(s.out, "bytes to file(f.bin)")) << "a failed read reported as a save\n" << s.out;
        EXPECT_TRUE(!file_exists(m.work() + "/f.bin") || saved(m, "f.bin").empty()) << "bytes saved from a failed read";
        EXPECT_TRUE(contains(s.out, "-Find E: NV4_PCB02_FWV1.0\n")) << "the program goes on\n" << s.out;
    }
}

TEST(DevsimSession, EjectedDeviceNeverYieldsStaleBytes) {
    REQUIRE_FUSE();
    for (const auto& runner : every_program()) {
        SCOPED_TRACE(runner->name());
        DevsimMount m(make_ines(0, 32, 8), "nrom.nes", {"--eject-after", "2"});
        ASSERT_TRUE(m.ok()) << m.error();
        const Session s =
            run_session(*runner, m, "d 8000 100 a.bin\nd c000 100 b.bin\nd 8000 100 c.bin\nlist\ninit\nq\n");
        EXPECT_EQ(saved(m, "a.bin"), prg_bytes(0, 0x100));
        EXPECT_EQ(saved(m, "b.bin"), prg_bytes(0x4000, 0x100));
        EXPECT_FALSE(contains(s.out, "bytes to file(c.bin)")) << s.out;
        EXPECT_TRUE(!file_exists(m.work() + "/c.bin") || saved(m, "c.bin").empty())
            << "the third read came after the device was pulled out";
        EXPECT_FALSE(contains(s.out, "Find E:")) << s.out;
        EXPECT_TRUE(contains(s.out, "-init error,not find dump device\n")) << s.out;
    }
}
