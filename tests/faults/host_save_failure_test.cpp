// Saves that the host cannot take: a device that is always full, and a small
// disk that fills up. The program says the save failed, removes the partial
// file it made, leaves alone what it did not make (a device node, the file
// behind a link keeps none of the dump), and goes on.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "crc32.h"
#include "device_drive.h"
#include "dump_session.h"
#include "files.h"
#include "small_disk.h"
#include "temp_dir.h"

namespace {

std::string saved_line(uint32_t length, const std::string& name) {
    const std::string image = pattern_image(0x10000);
    char line[128];
    std::snprintf(line, sizeof line, "write %.4X(crc:%.8X) bytes to file(%s)\n", static_cast<unsigned>(length),
                  static_cast<unsigned>(crc32(reinterpret_cast<const uint8_t*>(image.data()), length)),
                  name.c_str());
    return line;
}

// The output after the start-up line and help text.
std::string commands(const std::string& out) {
    const size_t end = out.find("\n\n");
    return end == std::string::npos ? out : out.substr(end + 2);
}

ProgramResult run_with_drive(const std::string& drive, const std::string& cwd, const std::string& input) {
    return linux_program()->run({{'E', drive}}, input, cwd);
}

TEST(SaveToFullDevice, FailsAndLeavesTheDeviceNode) {
    struct stat before{};
    if (::stat("/dev/full", &before) != 0 || !S_ISCHR(before.st_mode))
        GTEST_SKIP() << "*** FULL-DEVICE TEST NOT RUN: /dev/full is not a character device here ***";
    TempDir dir;
    ::mkdir(dir.file("drive").c_str(), 0755);
    make_device_drive(dir.file("drive"), kFamicomRecord);
    ::mkdir(dir.file("work").c_str(), 0755);
    write_file(dir.file("work/full.lua"), "print('appended ' .. fd_WriteFile('/dev/full', 'abcd', 0))\n");

    const ProgramResult r = run_with_drive(dir.file("drive"), dir.file("work"),
                                           "d 0 10000 /dev/full\ndo full.lua\nd 0 100 ok.bin\n");

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(commands(r.out), "-dump error,write file(/dev/full) failed\n-appended 0\n-" + saved_line(0x100, "ok.bin") + "-");
    struct stat after{};
    ASSERT_EQ(::stat("/dev/full", &after), 0) << "/dev/full was removed";
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_TRUE(read_file(dir.file("work/ok.bin")) == pattern_image(0x100)) << "ok.bin differs";
}

#define REQUIRE_SMALL_DISK(disk)                                                                       \
    do {                                                                                               \
        if (!(disk).ok()) GTEST_SKIP() << "*** SMALL-DISK TEST NOT RUN: " << (disk).reason() << " ***"; \
    } while (0)

// 64 KiB cannot fit on a 16 KiB disk; 4 KiB fits only while nothing of a
// failed save is left taking room.
TEST(SaveToSmallDisk, FailedSavesLeaveNothingBehind) {
    faults::SmallDisk disk("16k");
    REQUIRE_SMALL_DISK(disk);
    TempDir dir;
    ::mkdir(dir.file("drive").c_str(), 0755);
    make_device_drive(dir.file("drive"), kFamicomRecord);
    write_file(disk.file("old.bin"), "an older save");
    write_file(disk.file("notes.txt"), "notes the user keeps");
    ASSERT_EQ(::symlink("notes.txt", disk.file("link.bin").c_str()), 0);
    const unsigned long long free_before = disk.free_bytes();

    const ProgramResult r = run_with_drive(dir.file("drive"), disk.path(),
                                           "d 0 10000 full.bin\n"
                                           "d 0 10000 old.bin\n"
                                           "d 0 10000 link.bin\n"
                                           "d 0 1000 fits.bin\n");

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(commands(r.out),
              "-dump error,write file(full.bin) failed\n"
              "-dump error,write file(old.bin) failed\n"
              "-dump error,write file(link.bin) failed\n"
              "-" + saved_line(0x1000, "fits.bin") + "-");
    EXPECT_FALSE(file_exists(disk.file("full.bin")));
    // Emptied by the save, so its older content is gone either way; what
    // must not be left is part of the dump under its name.
    EXPECT_FALSE(file_exists(disk.file("old.bin")));
    // The file behind the link was emptied by the save: none of the dump
    // may stay in it.
    if (file_exists(disk.file("notes.txt"))) {
        EXPECT_EQ(read_file(disk.file("notes.txt")).size(), 0u) << "notes.txt holds part of the dump";
    }
    EXPECT_TRUE(file_exists(disk.file("fits.bin")) && read_file(disk.file("fits.bin")) == pattern_image(0x1000));
    RecordProperty("free_bytes_before", std::to_string(free_before));
}

// A script sees the failure in fd_WriteFile's result.
TEST(SaveToSmallDisk, ScriptLearnsTheAppendFailed) {
    faults::SmallDisk disk("16k");
    REQUIRE_SMALL_DISK(disk);
    TempDir dir;
    ::mkdir(dir.file("drive").c_str(), 0755);
    make_device_drive(dir.file("drive"), kFamicomRecord);
    write_file(disk.file("save.lua"),
               "local crc, text = fd_CpuReadAscii(0, 0x10000)\n"
               "local n = fd_WriteFile('image.bin', text, 1)\n"
               "if n ~= 0x10000 then fd_DelFile('image.bin') print('image.bin not saved: ' .. n) end\n");

    const ProgramResult r = run_with_drive(dir.file("drive"), disk.path(), "do save.lua\n");

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(commands(r.out), "-image.bin not saved: 0\n-");
    EXPECT_FALSE(file_exists(disk.file("image.bin")));
}

}  // namespace
