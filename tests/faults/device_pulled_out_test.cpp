// The device pulled out between the saves of a session: every save that
// read the device holds exactly what it showed, every later one says the
// read failed and leaves its file as it was, and the program goes on.

#include <gtest/gtest.h>

#include <cstdio>

#include "crc32.h"
#include "fault_session.h"
#include "files.h"

using devsim_test::DevsimMount;

namespace {

struct Save {
    uint32_t address;
    uint32_t length;
    const char* name;
    const char* older;  // what the file held before the session, or nullptr
};

// One read of the memory image each: the device counts them. (A save that
// reaches the end of memory takes a second read, which finds the end.)
const Save kSaves[] = {
    {0x0000, 0x100, "chr.bin", nullptr},
    {0x8000, 0x8000, "prg.bin", nullptr},
    {0x0000, 0x10000, "all.bin", "an older dump of this cartridge"},
    {0xC000, 0x10, "bank.bin", nullptr},
};

std::string save_command(const Save& s) {
    char line[64];
    std::snprintf(line, sizeof line, "d %x %x %s\n", static_cast<unsigned>(s.address),
                  static_cast<unsigned>(s.length), s.name);
    return line;
}

std::string saved_line(const Save& s) {
    const std::vector<uint8_t> bytes = faults::memory_slice(s.address, s.length);
    char line[128];
    std::snprintf(line, sizeof line, "write %.4X(crc:%.8X) bytes to file(%s)\n", static_cast<unsigned>(s.length),
                  static_cast<unsigned>(crc32(bytes.data(), bytes.size())), s.name);
    return line;
}

class PulledOutAfter : public ::testing::TestWithParam<int> {};

TEST_P(PulledOutAfter, SavesBeforeHoldTheMemoryAndLaterOnesSaySo) {
    REQUIRE_FUSE();
    const int reads = GetParam();
    DevsimMount mount(faults::nrom_image(), "cart.nes", {"--eject-after", std::to_string(reads)});
    ASSERT_TRUE(mount.ok()) << mount.error();
    std::string input;
    for (const Save& s : kSaves) {
        if (s.older) write_file(mount.work() + "/" + s.name, s.older);
        input += save_command(s);
    }
    input += "list\ninit\nd 0 100 after.bin\n";

    const ProgramResult r = faults::run_on(mount, input);

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.err;
    std::string expected;
    for (int i = 0; i < static_cast<int>(std::size(kSaves)); ++i)
        expected += "-" + (i < reads ? saved_line(kSaves[i]) : std::string("dump error,read device failed\n"));
    expected += "--init error,not find dump device\n-dump error,read device failed\n-";
    EXPECT_EQ(faults::command_output(r.out), expected);

    for (int i = 0; i < static_cast<int>(std::size(kSaves)); ++i) {
        const Save& s = kSaves[i];
        const auto file = work_file(mount, s.name);
        if (i < reads) {
            ASSERT_TRUE(file) << s.name;
            EXPECT_TRUE(*file == faults::memory_slice(s.address, s.length)) << s.name << " differs";
        } else if (s.older) {
            EXPECT_EQ(faults::work_text(mount, s.name), s.older) << s.name;
        } else {
            EXPECT_FALSE(file) << s.name << " was made from a read that failed";
        }
    }
    EXPECT_FALSE(work_file(mount, "after.bin"));
}

INSTANTIATE_TEST_SUITE_P(Reads, PulledOutAfter, ::testing::Values(1, 2, 3, 4),
                         [](const auto& info) { return "after_" + std::to_string(info.param) + "_reads"; });

// Missing from the start: nothing is selected, so every save is turned
// down before any file is touched.
TEST(PulledOutBeforeStart, NothingIsSelectedAndNothingSaved) {
    REQUIRE_FUSE();
    DevsimMount mount(faults::nrom_image(), "cart.nes", {"--eject-after", "0"});
    ASSERT_TRUE(mount.ok()) << mount.error();
    write_file(mount.work() + "/all.bin", "an older dump");

    const ProgramResult r = faults::run_on(mount, "d 0 10000 all.bin\nd 0 100 new.bin\ninit\n");

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("Init "), std::string::npos) << r.out;
    EXPECT_EQ(faults::command_output(r.out),
              "-please init device first\nget more infomation,type h[enter].\n"
              "dump error,nothing read,file(all.bin) not written\n"
              "-please init device first\nget more infomation,type h[enter].\n"
              "dump error,nothing read,file(new.bin) not written\n"
              "-init error,not find dump device\n-");
    EXPECT_EQ(faults::work_text(mount, "all.bin"), "an older dump");
    EXPECT_FALSE(work_file(mount, "new.bin"));
}

}  // namespace
