// The mounted emulator through the kernel, used the way the program uses the
// device: unbuffered reads, whole runs of command sectors in one write,
// truncation on every send; plus the command line and the faults.

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "devsim_mount.h"
#include "files.h"
#include "run_program.h"
#include "temp_dir.h"
#include "test_images.h"

using namespace devsim_test;

#define REQUIRE_FUSE() REQUIRE_FUSE_FOR("END-TO-END TEST")

#define MOUNT_OR_FAIL(m) ASSERT_TRUE((m).ok()) << (m).error()

namespace {

std::vector<std::string> listing(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

off_t size_of(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

}  // namespace

TEST(DevsimMount, ShowsTheThreeFilesAndTheRecord) {
    REQUIRE_FUSE();
    DevsimMount m(make_ines(0, 32, 8), "nrom.nes");
    MOUNT_OR_FAIL(m);
    EXPECT_EQ(listing(m.mountpoint()), (std::vector<std::string>{"CMD.CMD", "DUMP.ROM", "Q-DRIVER.DMP"}));
    EXPECT_EQ(size_of(m.file("DUMP.ROM")), 0x10000);
    EXPECT_EQ(size_of(m.file("CMD.CMD")), 0);
    const auto window = read_direct(m.file("Q-DRIVER.DMP"), 0x8000, 1024);
    ASSERT_EQ(window.size(), 1024u);
    EXPECT_EQ(std::string(window.begin(), window.begin() + 16), "NV4_PCB02_FWV1.0");

    DevsimMount pce(make_hucard(256), "card.pce", {"--record", "HX8_PCB02_FW"});
    MOUNT_OR_FAIL(pce);
    EXPECT_EQ(size_of(pce.file("DUMP.ROM")), 0x100000);
    const auto record = read_direct(pce.file("Q-DRIVER.DMP"), 0x8000, 1024);
    ASSERT_EQ(record.size(), 1024u);
    EXPECT_EQ(std::string(record.begin(), record.begin() + 16), std::string("HX8_PCB02_FW\0\0\0\0", 16));
}

TEST(DevsimMount, UnbufferedReadsFollowTheBanks) {
    REQUIRE_FUSE();
    DevsimMount m(make_ines(2, 128, 0, true), "uxrom.nes");
    MOUNT_OR_FAIL(m);
    auto all = read_direct(m.file("DUMP.ROM"), 0, 0x10000);
    ASSERT_EQ(all.size(), 0x10000u);
    EXPECT_EQ(std::vector<uint8_t>(all.begin() + 0x8000, all.begin() + 0xC000), prg_bytes(0, 0x4000));
    EXPECT_EQ(std::vector<uint8_t>(all.begin() + 0xC000, all.end()), prg_bytes(7 * 0x4000, 0x4000));
    EXPECT_EQ(std::vector<uint8_t>(all.begin() + 0x2000, all.begin() + 0x6000), std::vector<uint8_t>(0x4000, 0xFF));

    ASSERT_EQ(send_run(m.file("CMD.CMD"), famicom_write_sector(table_address(6), 6)), 0);
    EXPECT_EQ(read_direct(m.file("DUMP.ROM"), 0x8000, 0x4000), prg_bytes(6 * 0x4000, 0x4000))
        << "the switch shows in the very next read";
    EXPECT_EQ(read_direct(m.file("DUMP.ROM"), 0xFE00, 0x1000).size(), 0x200u) << "reads end at 0x10000";
    EXPECT_TRUE(read_direct(m.file("DUMP.ROM"), 0x10000, 0x400).empty());
}

TEST(DevsimMount, LargestRunInOneWrite) {
    REQUIRE_FUSE();
    // 65536 sectors (32 MiB), one per address 0x0000-0xFFFF: CHR RAM and
    // PRG RAM take the values, the rest goes to open bus and NROM's
    // register-less PRG space.
    DevsimMount m(make_ines(0, 32, 0, true), "nrom.nes");
    MOUNT_OR_FAIL(m);
    std::vector<uint8_t> run;
    run.reserve(32u << 20);
    for (uint32_t a = 0; a < 0x10000; ++a) {
        const auto s = famicom_write_sector(static_cast<uint16_t>(a), static_cast<uint8_t>(a * 7 + (a >> 8)));
        run.insert(run.end(), s.begin(), s.end());
    }
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(send_run(m.file("CMD.CMD"), run), 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("32 MiB run written and carried out in %.3f s\n", seconds);

    const auto all = read_direct(m.file("DUMP.ROM"), 0, 0x10000);
    ASSERT_EQ(all.size(), 0x10000u);
    for (uint32_t a : {0x0000u, 0x1234u, 0x1FFFu, 0x6000u, 0x6ABCu, 0x7FFFu})
        EXPECT_EQ(all[a], static_cast<uint8_t>(a * 7 + (a >> 8))) << std::hex << a;
    EXPECT_EQ(all[0x4000], 0xFF);
    EXPECT_EQ(std::vector<uint8_t>(all.begin() + 0x8000, all.end()), prg_bytes(0, 0x8000));
    EXPECT_EQ(size_of(m.file("CMD.CMD")), 32 << 20);
}

TEST(DevsimMount, EverySendReplacesTheCommandFile) {
    REQUIRE_FUSE();
    DevsimMount m(make_ines(0, 32, 0), "nrom.nes");
    MOUNT_OR_FAIL(m);
    const auto three = concat({famicom_write_sector(0, 1), famicom_write_sector(1, 2), famicom_write_sector(2, 3)});
    ASSERT_EQ(send_run(m.file("CMD.CMD"), three), 0);
    EXPECT_EQ(size_of(m.file("CMD.CMD")), 3 * 512);
    ASSERT_EQ(send_run(m.file("CMD.CMD"), famicom_init_sector()), 0);
    EXPECT_EQ(size_of(m.file("CMD.CMD")), 512);
    EXPECT_EQ(read_bytes(m.file("CMD.CMD")), famicom_init_sector());
    ASSERT_EQ(send_run(m.file("CMD.CMD"), {}), 0);
    EXPECT_EQ(size_of(m.file("CMD.CMD")), 0);
    EXPECT_EQ(read_direct(m.file("DUMP.ROM"), 0, 3), (std::vector<uint8_t>{1, 2, 3}));

    // The other ways of emptying it: truncate(2) and ftruncate(2).
    ASSERT_EQ(send_run(m.file("CMD.CMD"), three), 0);
    ASSERT_EQ(::truncate(m.file("CMD.CMD").c_str(), 0), 0);
    EXPECT_EQ(size_of(m.file("CMD.CMD")), 0);
    const int fd = ::open(m.file("CMD.CMD").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    const auto s = famicom_write_sector(5, 9);
    EXPECT_EQ(::write(fd, s.data(), s.size()), 512);
    EXPECT_EQ(::ftruncate(fd, 0), 0);
    EXPECT_EQ(::fsync(fd), 0);
    ::close(fd);
    EXPECT_EQ(size_of(m.file("CMD.CMD")), 0);
    EXPECT_EQ(read_direct(m.file("DUMP.ROM"), 0, 6)[5], 9);
}

TEST(DevsimMount, LogShowsEachSectorBeforeTheWriteReturns) {
    REQUIRE_FUSE();
    TempDir logs;
    const std::string log = logs.file("sectors.log");
    DevsimMount m(make_ines(0, 32, 0), "nrom.nes", {"--log", log});
    MOUNT_OR_FAIL(m);
    auto bad = famicom_write_sector(0x0010, 0x44);
    bad[100] ^= 0xFF;
    const auto run = concat({famicom_init_sector(), famicom_write_sector(0x0010, 0x33), bad,
                             pc_engine_write_sector(0x10, 0x55)});
    const int fd = ::open(m.file("CMD.CMD").c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, run.data(), run.size()), static_cast<ssize_t>(run.size()));
    const std::string text = read_file(log);
    ::close(fd);
    EXPECT_EQ(text.substr(0, text.find("sector 2")), "run 1 sector 0: ok init 01\nrun 1 sector 1: ok write 0010 33\nrun 1 ");
    EXPECT_NE(text.find("run 1 sector 2: dropped: bad CRC"), std::string::npos) << text;
    EXPECT_NE(text.find("run 1 sector 3: dropped: family byte 11 is not this device's\n"), std::string::npos) << text;
    EXPECT_EQ(read_direct(m.file("DUMP.ROM"), 0x10, 1)[0], 0x33);
}

TEST(DevsimMount, Faults) {
    REQUIRE_FUSE();
    {
        DevsimMount m(make_ines(0, 32, 0, true), "nrom.nes", {"--read-only"});
        MOUNT_OR_FAIL(m);
        EXPECT_EQ(send_run(m.file("CMD.CMD"), famicom_write_sector(0x6000, 1)), EACCES);
        EXPECT_EQ(read_direct(m.file("DUMP.ROM"), 0x8000, 16), prg_bytes(0, 16));
    }
    {
        DevsimMount m(make_ines(0, 32, 0, true), "nrom.nes", {"--fail-reads"});
        MOUNT_OR_FAIL(m);
        int error = 0;
        EXPECT_TRUE(read_direct(m.file("DUMP.ROM"), 0x8000, 1024, &error).empty());
        EXPECT_EQ(error, EIO);
        EXPECT_EQ(read_direct(m.file("Q-DRIVER.DMP"), 0x8000, 1024).size(), 1024u);
        EXPECT_EQ(send_run(m.file("CMD.CMD"), famicom_init_sector()), 0);
    }
    {
        DevsimMount m(make_ines(0, 32, 0, true), "nrom.nes", {"--eject-after", "2"});
        MOUNT_OR_FAIL(m);
        EXPECT_EQ(read_direct(m.file("DUMP.ROM"), 0x8000, 0x10000 - 0x8000), prg_bytes(0, 0x8000))
            << "a 32 KiB read is one read of the device";
        EXPECT_EQ(read_direct(m.file("DUMP.ROM"), 0x8000, 1024).size(), 1024u);
        int error = 0;
        EXPECT_TRUE(read_direct(m.file("DUMP.ROM"), 0x8000, 1024, &error).empty());
        EXPECT_EQ(error, ENOMEDIUM);
        EXPECT_TRUE(read_direct(m.file("Q-DRIVER.DMP"), 0x8000, 1024, &error).empty());
        EXPECT_EQ(error, ENOMEDIUM);
        EXPECT_NE(send_run(m.file("CMD.CMD"), famicom_init_sector()), 0);
        EXPECT_TRUE(listing(m.mountpoint()).empty());
    }
}

TEST(DevsimMount, DetachesOnceMounted) {
    REQUIRE_FUSE();
    TempDir dir;
    const std::string cart = dir.file("nrom.nes");
    const std::string mnt = dir.file("mnt");
    write_bytes(cart, make_ines(0, 32, 8));
    ::mkdir(mnt.c_str(), 0755);
    const ProgramResult r = run_program({devsim_program(), cart, mnt}, "", {}, {}, "", 20);
    const bool mounted = is_mounted(mnt);
    std::vector<uint8_t> record;
    if (mounted) record = read_direct(mnt + "/Q-DRIVER.DMP", 0x8000, 1024);
    run_program({"fusermount3", "-u", mnt}, "", {}, {}, "", 10);
    for (int i = 0; i < 200 && is_mounted(mnt); ++i) ::usleep(10000);
    if (is_mounted(mnt)) run_program({"fusermount3", "-uz", mnt}, "", {}, {}, "", 10);

    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(mounted) << "the command returned before the mount was there";
    ASSERT_EQ(record.size(), 1024u);
    EXPECT_EQ(std::string(record.begin(), record.begin() + 4), "NV4_");
}

TEST(DevsimMount, BadInputMountsNothing) {
    REQUIRE_FUSE();
    TempDir dir;
    const std::string mnt = dir.file("mnt");
    const std::string busy = dir.file("busy");
    ::mkdir(mnt.c_str(), 0755);
    ::mkdir(busy.c_str(), 0755);
    write_file(busy + "/x", "x");
    auto truncated = make_ines(0, 32, 8);
    truncated.resize(1000);
    write_bytes(dir.file("good.nes"), make_ines(0, 32, 8));
    write_bytes(dir.file("short.nes"), truncated);
    write_bytes(dir.file("mmc5.nes"), make_ines(5, 32, 8));
    write_bytes(dir.file("odd.pce"), std::vector<uint8_t>(5000, 0));

    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{dir.file("missing.nes"), mnt}, dir.file("missing.nes") + ": No such file or directory"},
        {{dir.file("short.nes"), mnt},
         dir.file("short.nes") + ": truncated: the header asks for 40976 bytes, the file has 1000"},
        {{dir.file("mmc5.nes"), mnt},
         dir.file("mmc5.nes") + ": mapper 5 is not emulated (known mappers: 0, 1, 2, 3, 4, 7)"},
        {{dir.file("odd.pce"), mnt}, dir.file("odd.pce") + ": a HuCard image of 5000 bytes is no known card size"},
        {{dir.file("good.nes"), busy}, busy + ": the mount point must be an empty folder"},
        {{dir.file("good.nes"), dir.file("good.nes")}, dir.file("good.nes") + ": not a folder"},
        {{dir.file("good.nes"), dir.file("nowhere")}, dir.file("nowhere") + ": No such file or directory"},
        {{"--model", "snes", dir.file("good.nes"), mnt}, "--model must be famicom or pc-engine, not \"snes\""},
        {{"--eject-after", "x", dir.file("good.nes"), mnt}, "--eject-after needs a count of reads, not \"x\""},
        {{dir.file("good.nes")}, "give a cartridge image and a mount point (see --help)"},
    };
    for (const Case& k : cases) {
        std::vector<std::string> argv = {devsim_program()};
        argv.insert(argv.end(), k.args.begin(), k.args.end());
        const ProgramResult r = run_program(argv, "", {}, {}, "", 20);
        EXPECT_NE(r.status, 0) << k.message;
        EXPECT_EQ(r.err.rfind("caldrin-devsim: " + k.message, 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(is_mounted(mnt)) << k.message;
        if (is_mounted(mnt)) run_program({"fusermount3", "-uz", mnt}, "", {}, {}, "", 10);
    }
}
