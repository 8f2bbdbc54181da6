// What the device does with each sector it is given.

#include <gtest/gtest.h>

#include "device/command_sector.h"
#include "test_images.h"

using namespace devsim;
using namespace devsim_test;

TEST(CommandSector, HostSectorsDecode) {
    // Bytes exactly as the host sends them, CRC included.
    const auto init = famicom_init_sector(1);
    EXPECT_EQ(init[510], 0x54);
    EXPECT_EQ(init[511], 0x42);
    SectorCheck c = check_sector(init.data(), Family::famicom);
    ASSERT_EQ(c.verdict, SectorVerdict::ok);
    EXPECT_EQ(c.command.kind, CommandKind::init);
    EXPECT_EQ(c.command.argument, 1);
    EXPECT_EQ(describe_sector(c, init.data()), "ok init 01");

    const auto write = famicom_write_sector(0x8000, 0xA5);
    EXPECT_EQ(write[510], 0x6F);
    EXPECT_EQ(write[511], 0x8A);
    c = check_sector(write.data(), Family::famicom);
    ASSERT_EQ(c.verdict, SectorVerdict::ok);
    EXPECT_EQ(c.command.kind, CommandKind::memory_write);
    EXPECT_EQ(c.command.address, 0x8000u);
    EXPECT_EQ(c.command.count, 1u);
    EXPECT_EQ(c.command.data[0], 0xA5);
    EXPECT_EQ(describe_sector(c, write.data()), "ok write 8000 A5");

    const auto pce_init = pc_engine_init_sector();
    EXPECT_EQ(pce_init[510], 0xD4);
    EXPECT_EQ(pce_init[511], 0x38);
    EXPECT_EQ(check_sector(pce_init.data(), Family::pc_engine).verdict, SectorVerdict::ok);

    const auto pce_write = pc_engine_write_sector(0x12345, 0xA5);
    EXPECT_EQ(pce_write[510], 0x6D);
    EXPECT_EQ(pce_write[511], 0x85);
    c = check_sector(pce_write.data(), Family::pc_engine);
    ASSERT_EQ(c.verdict, SectorVerdict::ok);
    EXPECT_EQ(c.command.address, 0x12345u);
    EXPECT_EQ(c.command.data[0], 0xA5);
    EXPECT_EQ(describe_sector(c, pce_write.data()), "ok write 012345 A5");
}

TEST(CommandSector, BadSectorsAreDropped) {
    auto no_z = famicom_write_sector(0x8000, 1);
    no_z[0] = 0x00;
    auto bad_crc = famicom_write_sector(0x8000, 1);
    bad_crc[12] ^= 0x01;
    auto unknown = framed({0, 0x0E, 0x07});
    auto zero_count = framed({0, 0x0E, 0x05, 0, 0, 0x80, 0, 0, 0, 0});
    auto too_many = framed({0, 0x0E, 0x05, 0, 0, 0x80, 0, 0, 0xF3, 0x01});  // 499 bytes

    struct Case {
        std::vector<uint8_t> sector;
        Family family;
        SectorVerdict verdict;
        const char* log;
    } cases[] = {
        {no_z, Family::famicom, SectorVerdict::no_z, "dropped: byte 0 is 00, not 5A ('Z')"},
        {bad_crc, Family::famicom, SectorVerdict::bad_crc, "dropped: bad CRC (sector says"},
        {famicom_write_sector(0x8000, 1), Family::pc_engine, SectorVerdict::wrong_family,
         "dropped: family byte 0E is not this device's"},
        {pc_engine_init_sector(), Family::famicom, SectorVerdict::wrong_family,
         "dropped: family byte 11 is not this device's"},
        {unknown, Family::famicom, SectorVerdict::unknown_command, "dropped: unknown command 07"},
        {zero_count, Family::famicom, SectorVerdict::bad_count, "dropped: memory write of 0 bytes"},
        {too_many, Family::famicom, SectorVerdict::bad_count, "dropped: memory write of 499 bytes"},
    };
    for (const Case& k : cases) {
        const SectorCheck c = check_sector(k.sector.data(), k.family);
        EXPECT_EQ(c.verdict, k.verdict) << k.log;
        EXPECT_EQ(describe_sector(c, k.sector.data()).rfind(k.log, 0), 0u) << describe_sector(c, k.sector.data());
    }
}

TEST(CommandSector, FamicomWriteMayCarrySeveralBytes) {
    const auto s = framed({0, 0x0E, 0x05, 0, 0xFE, 0xFF, 0, 0, 3, 0, 0, 0, 0x11, 0x22, 0x33});
    const SectorCheck c = check_sector(s.data(), Family::famicom);
    ASSERT_EQ(c.verdict, SectorVerdict::ok);
    EXPECT_EQ(c.command.count, 3u);
    EXPECT_EQ(describe_sector(c, s.data()), "ok write FFFE 11 22 33");
}
