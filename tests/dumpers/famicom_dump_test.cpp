// nes.lua against the emulated boards: every mapper it knows, cartridges of
// the sizes that stress the size detection, dumped and compared byte for
// byte with the image the emulator serves, header included.

#include <gtest/gtest.h>

#include <algorithm>

#include "dump_session.h"
#include "files.h"
#include "test_images.h"

using devsim_test::DevsimMount;

namespace {

struct Cartridge {
    const char* name;
    int mapper;
    uint32_t prg_kib;
    uint32_t chr_kib;  // 0: CHR RAM
    bool battery;
    bool vertical;
    // A 16 KiB PRG bank made a copy of bank 0, as games that repeat a bank
    // have; 0 for none. The size detection must not stop there.
    uint32_t copy_of_bank_0 = 0;
    // The last 16 KiB of PRG all FF: no byte holds a bank number, so bank
    // writes on discrete boards must find a byte that lets it through.
    bool blank_last_bank = false;
};

// An image whose banks all differ, with the header bits the dump must
// reproduce. The last 256 bytes of every 16 KiB PRG bank hold 00-FF, as the
// bank tables of discrete-board games do.
std::vector<uint8_t> image_of(const Cartridge& c) {
    std::vector<uint8_t> image = devsim_test::make_ines(c.mapper, c.prg_kib, c.chr_kib, c.battery);
    if (c.vertical) image[6] |= 0x01;
    if (c.copy_of_bank_0 != 0)
        std::copy(image.begin() + 16, image.begin() + 16 + 0x4000, image.begin() + 16 + c.copy_of_bank_0 * 0x4000);
    if (c.blank_last_bank) {
        const size_t end = 16 + c.prg_kib * 1024;
        std::fill(image.begin() + static_cast<std::ptrdiff_t>(end - 0x4000),
                  image.begin() + static_cast<std::ptrdiff_t>(end), 0xFF);
    }
    return image;
}

std::string answer_for(const Cartridge& c) { return std::to_string(c.mapper) + " game.nes" + (c.vertical ? " v" : ""); }

class FamicomDump : public ::testing::TestWithParam<Cartridge> {};

TEST_P(FamicomDump, ImageEqualsTheCartridge) {
    REQUIRE_FUSE();
    const Cartridge& c = GetParam();
    const std::vector<uint8_t> image = image_of(c);
    DevsimMount mount(image, "cart.nes");
    ASSERT_TRUE(mount.ok()) << mount.error();
    copy_scripts(mount);

    const std::string out = run_session(*linux_program(), mount, dump_command("nes.lua", answer_for(c)));

    const auto dumped = work_file(mount, "game.nes");
    ASSERT_TRUE(dumped) << out;
    ASSERT_EQ(dumped->size(), image.size()) << out;
    EXPECT_TRUE(*dumped == image) << "the dump differs from the cartridge image\n" << out;

    EXPECT_EQ(report_value(out, "Mapper").substr(0, 2), std::to_string(c.mapper) + " ") << out;
    const size_t prg = c.prg_kib * 1024, chr = c.chr_kib * 1024;
    EXPECT_EQ(words(report_value(out, "PRG ROM")), std::to_string(c.prg_kib) + " KiB CRC-32 " + crc_text(image, 16, prg));
    if (chr != 0)
        EXPECT_EQ(words(report_value(out, "CHR ROM")),
                  std::to_string(c.chr_kib) + " KiB CRC-32 " + crc_text(image, 16 + prg, chr));
    else
        EXPECT_NE(report_value(out, "CHR RAM"), "") << out;
    EXPECT_EQ(report_value(out, "ROM CRC-32").substr(0, 8), crc_text(image, 16)) << out;
    EXPECT_EQ(report_value(out, "PRG RAM") == "none", !c.battery) << out;
}

// Sizes at both ends of what each board reaches, CHR RAM and CHR ROM, the
// battery and mirroring bits.
const Cartridge kCartridges[] = {
    {"nrom_16k_vertical", 0, 16, 8, false, true},
    {"nrom_32k_chr_ram", 0, 32, 0, false, false},
    {"mmc1_32k", 1, 32, 8, false, false},
    {"mmc1_256k_chr_128k_battery", 1, 256, 128, true, false},
    {"mmc1_256k_bank_8_repeats_bank_0", 1, 256, 0, false, false, 8},
    {"mmc1_512k_battery", 1, 512, 0, true, false},
    {"uxrom_32k", 2, 32, 0, false, true},
    {"uxrom_256k_chr_rom", 2, 256, 8, false, false},
    {"uxrom_128k_bank_4_repeats_bank_0", 2, 128, 0, false, false, 4},
    {"uxrom_128k_no_bank_table", 2, 128, 0, false, false, 0, true},
    {"cnrom_16k_chr_8k", 3, 16, 8, false, false},
    {"cnrom_32k_chr_32k", 3, 32, 32, false, true},
    {"mmc3_32k_chr_8k", 4, 32, 8, false, false},
    {"mmc3_512k_chr_256k_battery", 4, 512, 256, true, false},
    {"mmc3_128k_chr_ram", 4, 128, 0, false, false},
    {"axrom_32k", 7, 32, 0, false, false},
    {"axrom_256k", 7, 256, 0, false, false},
};

INSTANTIATE_TEST_SUITE_P(Boards, FamicomDump, ::testing::ValuesIn(kCartridges),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
