// The Famicom boards as the dumper sees them: what each CPU and PPU address
// reads after the register writes a dump script makes.

#include <gtest/gtest.h>

#include <memory>

#include "model/load_cartridge.h"
#include "test_images.h"

using namespace devsim;
using namespace devsim_test;

namespace {

std::unique_ptr<CartridgeModel> cart(int mapper, uint32_t prg_kib, uint32_t chr_kib, bool battery = false,
                                     bool prg_ram = false) {
    CartridgeChoice choice;
    choice.prg_ram = prg_ram;
    std::string error;
    auto model = make_cartridge("test.nes", make_ines(mapper, prg_kib, chr_kib, battery), choice, error);
    EXPECT_TRUE(model) << error;
    return model;
}

std::vector<uint8_t> read(const CartridgeModel& c, uint32_t address, uint32_t count) {
    std::vector<uint8_t> out(count);
    c.read(address, out.data(), count);
    return out;
}

// The CPU window at address shows the 16/8/32 KiB bank of the PRG ROM that
// starts at offset.
void expect_prg(const CartridgeModel& c, uint32_t address, uint32_t offset, uint32_t size) {
    EXPECT_EQ(read(c, address, size), prg_bytes(offset, size))
        << "CPU 0x" << std::hex << address << " should show PRG offset 0x" << offset;
}

void expect_chr(const CartridgeModel& c, uint32_t address, uint32_t offset, uint32_t size) {
    EXPECT_EQ(read(c, address, size), chr_bytes(offset, size))
        << "PPU 0x" << std::hex << address << " should show CHR offset 0x" << offset;
}

// The five serial writes that load one MMC1 register.
void mmc1_load(CartridgeModel& c, uint16_t address, uint8_t value) {
    for (int bit = 0; bit < 5; ++bit) c.write(address, static_cast<uint8_t>((value >> bit) & 1));
}

}  // namespace

TEST(FamicomBus, NromMirrorsSmallPrgAndLeavesUnmappedSpaceOpen) {
    auto c = cart(0, 16, 8);
    expect_prg(*c, 0x8000, 0, 0x4000);
    expect_prg(*c, 0xC000, 0, 0x4000);
    expect_chr(*c, 0x0000, 0, 0x2000);
    EXPECT_EQ(read(*c, 0x2000, 0x6000), std::vector<uint8_t>(0x6000, 0xFF)) << "0x2000-0x7FFF without RAM";
    EXPECT_EQ(c->address_space_size(), 0x10000u);

    auto big = cart(0, 32, 8);
    expect_prg(*big, 0x8000, 0, 0x8000);
}

TEST(FamicomBus, ReadsAcrossRegionsInOneCall) {
    auto c = cart(0, 32, 8, true);
    const std::vector<uint8_t> all = read(*c, 0, 0x10000);
    EXPECT_EQ(std::vector<uint8_t>(all.begin(), all.begin() + 0x2000), chr_bytes(0, 0x2000));
    EXPECT_EQ(std::vector<uint8_t>(all.begin() + 0x2000, all.begin() + 0x6000), std::vector<uint8_t>(0x4000, 0xFF));
    EXPECT_EQ(std::vector<uint8_t>(all.begin() + 0x8000, all.end()), prg_bytes(0, 0x8000));
    // An odd start and length inside a window.
    EXPECT_EQ(read(*c, 0x8123, 0x345), prg_bytes(0x123, 0x345));
}

TEST(FamicomBus, ChrRomIgnoresWritesButChrRamKeepsThem) {
    auto rom = cart(0, 32, 8);
    rom->write(0x0010, 0x5A);
    EXPECT_EQ(read(*rom, 0x0010, 1)[0], chr_byte(0x10));

    auto ram = cart(0, 32, 0);
    for (uint16_t a = 0; a < 0x2000; a += 0x3FF) ram->write(a, static_cast<uint8_t>(a >> 5));
    for (uint16_t a = 0; a < 0x2000; a += 0x3FF) EXPECT_EQ(read(*ram, a, 1)[0], static_cast<uint8_t>(a >> 5));
}

TEST(FamicomBus, PrgRamFromBatteryBitOrOption) {
    struct Case {
        bool battery, option, has_ram;
    } cases[] = {{false, false, false}, {true, false, true}, {false, true, true}};
    for (const Case& k : cases) {
        auto c = cart(0, 32, 8, k.battery, k.option);
        const uint8_t pattern[] = {3, 5, 7, 9, 0, 1, 8, 2, 3, 4};
        for (int i = 0; i < 10; ++i) c->write(0x6000 + i, pattern[i]);
        c->write(0x7FFF, 0x42);
        const auto back = read(*c, 0x6000, 10);
        EXPECT_EQ(back == std::vector<uint8_t>(pattern, pattern + 10), k.has_ram)
            << "battery " << k.battery << " option " << k.option;
        EXPECT_EQ(read(*c, 0x7FFF, 1)[0], k.has_ram ? 0x42 : 0xFF);
    }
}

TEST(FamicomBus, UxromSwitchesThroughBusConflicts) {
    auto c = cart(2, 128, 0);
    expect_prg(*c, 0x8000, 0, 0x4000);
    expect_prg(*c, 0xC000, 7 * 0x4000, 0x4000);

    c->write(table_address(5), 5);  // ROM holds 5 there: no conflict
    expect_prg(*c, 0x8000, 5 * 0x4000, 0x4000);
    expect_prg(*c, 0xC000, 7 * 0x4000, 0x4000);

    c->write(table_address(0x03), 0xFF);  // the ROM pulls the value down to 3
    expect_prg(*c, 0x8000, 3 * 0x4000, 0x4000);

    c->write(table_address(0x00), 0x06);  // ROM 0: the write latches 0
    expect_prg(*c, 0x8000, 0, 0x4000);

    c->write(table_address(4), 4);
    c->power_on(1);
    expect_prg(*c, 0x8000, 0, 0x4000);
}

TEST(FamicomBus, CnromSwitchesChrThroughBusConflicts) {
    auto c = cart(3, 32, 32);
    expect_chr(*c, 0, 0, 0x2000);
    c->write(table_address(2), 2);
    expect_chr(*c, 0, 2 * 0x2000, 0x2000);
    c->write(table_address(1), 0xFF);
    expect_chr(*c, 0, 1 * 0x2000, 0x2000);
    expect_prg(*c, 0x8000, 0, 0x8000);
}

TEST(FamicomBus, AxromSwitches32KiB) {
    auto c = cart(7, 256, 0);
    expect_prg(*c, 0x8000, 0, 0x8000);
    c->write(table_address(0x13), 0x13);  // bit 4 (nametable) is not a bank bit
    expect_prg(*c, 0x8000, 3 * 0x8000, 0x8000);
    c->write(table_address(0x07), 0xFF);
    expect_prg(*c, 0x8000, 7 * 0x8000, 0x8000);
}

TEST(FamicomBus, Mmc1PowerOnFixesLastBankAtC000) {
    auto c = cart(1, 256, 128);
    expect_prg(*c, 0x8000, 0, 0x4000);
    expect_prg(*c, 0xC000, 15 * 0x4000, 0x4000);
    expect_chr(*c, 0x0000, 0, 0x2000);
}

TEST(FamicomBus, Mmc1PrgModes) {
    auto c = cart(1, 256, 128);
    mmc1_load(*c, 0xE000, 5);
    expect_prg(*c, 0x8000, 5 * 0x4000, 0x4000);
    expect_prg(*c, 0xC000, 15 * 0x4000, 0x4000);

    mmc1_load(*c, 0x8000, 0x08);  // mode 2: first bank fixed at 0x8000
    expect_prg(*c, 0x8000, 0, 0x4000);
    expect_prg(*c, 0xC000, 5 * 0x4000, 0x4000);

    mmc1_load(*c, 0x8000, 0x00);  // 32 KiB mode: bank 5 & ~1 = 4
    expect_prg(*c, 0x8000, 4 * 0x4000, 0x8000);
}

TEST(FamicomBus, Mmc1ResetBitRestartsTheSerialPort) {
    auto c = cart(1, 256, 128);
    mmc1_load(*c, 0x8000, 0x00);  // 32 KiB mode
    c->write(0xE000, 1);
    c->write(0xE000, 1);
    c->write(0xE000, 0x80);  // drops the two bits, sets PRG mode 3
    expect_prg(*c, 0xC000, 15 * 0x4000, 0x4000);
    mmc1_load(*c, 0xE000, 6);
    expect_prg(*c, 0x8000, 6 * 0x4000, 0x4000);
}

TEST(FamicomBus, Mmc1ChrModes) {
    auto c = cart(1, 128, 128);
    mmc1_load(*c, 0xA000, 5);  // 8 KiB mode ignores bit 0: 4 KiB banks 4 and 5
    expect_chr(*c, 0x0000, 4 * 0x1000, 0x2000);

    mmc1_load(*c, 0x8000, 0x1C);  // 4 KiB mode
    mmc1_load(*c, 0xC000, 9);
    expect_chr(*c, 0x0000, 5 * 0x1000, 0x1000);
    expect_chr(*c, 0x1000, 9 * 0x1000, 0x1000);
}

TEST(FamicomBus, Mmc1PrgRamDisableBit) {
    auto c = cart(1, 128, 0, true);
    c->write(0x6000, 0x11);
    EXPECT_EQ(read(*c, 0x6000, 1)[0], 0x11);
    mmc1_load(*c, 0xE000, 0x10);
    EXPECT_EQ(read(*c, 0x6000, 1)[0], 0xFF);
    c->write(0x6000, 0x22);
    mmc1_load(*c, 0xE000, 0x00);
    EXPECT_EQ(read(*c, 0x6000, 1)[0], 0x11) << "a write while disabled must be lost";
}

TEST(FamicomBus, Mmc1With512KiBTakesTheOuterBankFromChrBank0) {
    auto c = cart(1, 512, 0);
    expect_prg(*c, 0xC000, 15 * 0x4000, 0x4000);
    mmc1_load(*c, 0xA000, 0x10);
    mmc1_load(*c, 0xE000, 2);
    expect_prg(*c, 0x8000, (16 + 2) * 0x4000, 0x4000);
    expect_prg(*c, 0xC000, 31 * 0x4000, 0x4000);
}

TEST(FamicomBus, Mmc3PowerOnLayout) {
    auto c = cart(4, 256, 256);
    expect_prg(*c, 0x8000, 0 * 0x2000, 0x2000);
    expect_prg(*c, 0xA000, 1 * 0x2000, 0x2000);
    expect_prg(*c, 0xC000, 30 * 0x2000, 0x2000);
    expect_prg(*c, 0xE000, 31 * 0x2000, 0x2000);
    expect_chr(*c, 0x0000, 0, 0x2000);
}

TEST(FamicomBus, Mmc3PrgAndChrBanks) {
    auto c = cart(4, 256, 256);
    const uint8_t regs[8] = {10, 21, 40, 41, 42, 43, 12, 13};
    for (uint8_t r = 0; r < 8; ++r) {
        c->write(0x8000, r);
        c->write(0x8001, regs[r]);
    }
    expect_prg(*c, 0x8000, 12 * 0x2000, 0x2000);
    expect_prg(*c, 0xA000, 13 * 0x2000, 0x2000);
    expect_prg(*c, 0xC000, 30 * 0x2000, 0x2000);
    expect_chr(*c, 0x0000, 10 * 0x400, 0x800);  // R0 is 2 KiB
    expect_chr(*c, 0x0800, 20 * 0x400, 0x800);  // R1's low bit is ignored
    expect_chr(*c, 0x1000, 40 * 0x400, 0x400);
    expect_chr(*c, 0x1C00, 43 * 0x400, 0x400);

    c->write(0x8000, 0xC0);  // PRG mode 1 and CHR inversion
    expect_prg(*c, 0x8000, 30 * 0x2000, 0x2000);
    expect_prg(*c, 0xC000, 12 * 0x2000, 0x2000);
    expect_chr(*c, 0x0000, 40 * 0x400, 0x400);
    expect_chr(*c, 0x1000, 10 * 0x400, 0x800);

    // No bus conflicts on this board: the value is latched as written.
    c->write(0x8000, 6);
    c->write(0x8001, 0xFF);
    expect_prg(*c, 0x8000, 31 * 0x2000, 0x2000);
}

TEST(FamicomBus, Mmc3PrgRamNeedsEnableAndHonoursWriteProtect) {
    auto c = cart(4, 128, 128, true);
    c->write(0x6000, 0x11);
    EXPECT_EQ(read(*c, 0x6000, 1)[0], 0xFF) << "disabled after power-on";
    c->write(0xA001, 0x80);
    c->write(0x6000, 0x22);
    EXPECT_EQ(read(*c, 0x6000, 1)[0], 0x22);
    c->write(0xA001, 0xC0);  // enabled, write-protected
    c->write(0x6000, 0x33);
    EXPECT_EQ(read(*c, 0x6000, 1)[0], 0x22);
    c->power_on(1);
    EXPECT_EQ(read(*c, 0x6000, 1)[0], 0xFF);
    c->write(0xA001, 0x80);
    EXPECT_EQ(read(*c, 0x6000, 1)[0], 0x22) << "init keeps the RAM's contents";
}

TEST(FamicomBus, DescribeNamesTheBoard) {
    EXPECT_EQ(cart(2, 128, 0)->describe(),
              "Famicom cartridge, mapper 2 (UxROM), PRG ROM 128 KiB, CHR RAM 8 KiB, no PRG RAM, bus conflicts");
    EXPECT_EQ(cart(4, 256, 128, true)->describe(),
              "Famicom cartridge, mapper 4 (MMC3), PRG ROM 256 KiB, CHR ROM 128 KiB, PRG RAM 8 KiB");
}
