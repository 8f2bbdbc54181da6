// pce.lua against emulated HuCards: each size the card space lays out its
// own way, and the large card behind its bank port, dumped and compared byte
// for byte with the card's ROM.

#include <gtest/gtest.h>

#include "dump_session.h"
#include "test_images.h"

using devsim_test::DevsimMount;

namespace {

class HuCardDump : public ::testing::TestWithParam<uint32_t> {};

TEST_P(HuCardDump, ImageEqualsTheCard) {
    REQUIRE_FUSE();
    const uint32_t kib = GetParam();
    const std::vector<uint8_t> rom = devsim_test::make_hucard(kib);
    DevsimMount mount(rom, "card.pce");
    ASSERT_TRUE(mount.ok()) << mount.error();
    copy_scripts(mount);

    const std::string out = run_session(*linux_program(), mount, dump_command("pce.lua", "game.pce"));

    const auto dumped = work_file(mount, "game.pce");
    ASSERT_TRUE(dumped) << out;
    ASSERT_EQ(dumped->size(), rom.size()) << out;
    EXPECT_TRUE(*dumped == rom) << "the dump differs from the card\n" << out;
    EXPECT_EQ(report_value(out, "HuCard").substr(0, std::to_string(kib).size() + 4), std::to_string(kib) + " KiB");
    EXPECT_EQ(report_value(out, "CRC-32"), crc_text(rom)) << out;
}

// Repeated (128, 256, 512), split (384), three quarters (768), the whole
// space (1024) and the banked 2.5 MiB card.
INSTANTIATE_TEST_SUITE_P(Sizes, HuCardDump, ::testing::Values(128u, 256u, 384u, 512u, 768u, 1024u, 2560u),
                         [](const auto& info) { return std::to_string(info.param) + "k"; });

TEST(HuCardDump, FamicomDumperIsTurnedAway) {
    REQUIRE_FUSE();
    DevsimMount mount(devsim_test::make_ines(0, 32, 8), "cart.nes");
    ASSERT_TRUE(mount.ok()) << mount.error();
    copy_scripts(mount);

    const std::string out = run_session(*linux_program(), mount, dump_command("pce.lua", "game.pce"));

    EXPECT_NE(out.find("No HuCard dumper answers"), std::string::npos) << out;
    EXPECT_FALSE(work_file(mount, "game.pce"));
}

}  // namespace
