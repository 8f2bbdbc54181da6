// HuCard layouts in the 1 MiB card space, and the large card's bank port.

#include <gtest/gtest.h>

#include "model/load_cartridge.h"
#include "model/pc_engine/hucard.h"
#include "test_images.h"

using namespace devsim;
using namespace devsim_test;

namespace {

std::unique_ptr<CartridgeModel> card(uint32_t kib, bool header = false) {
    std::string error;
    auto model = make_cartridge("game.pce", make_hucard(kib, header), CartridgeChoice{}, error);
    EXPECT_TRUE(model) << error;
    return model;
}

std::vector<uint8_t> read(const CartridgeModel& c, uint32_t address, uint32_t count) {
    std::vector<uint8_t> out(count);
    c.read(address, out.data(), count);
    return out;
}

}  // namespace

TEST(HuCard, LayoutsThroughTheCardSpace) {
    // Card size in KiB, card address, ROM offset it shows (-1: open bus).
    struct Case {
        uint32_t kib;
        uint32_t address;
        int64_t offset;
    } cases[] = {
        {256, 0x00000, 0x00000}, {256, 0x40000, 0x00000}, {256, 0xC2000, 0x02000}, {256, 0xFE000, 0x3E000},
        {512, 0x80000, 0x00000}, {512, 0x7E000, 0x7E000}, {512, 0xFE000, 0x7E000},
        {1024, 0x00000, 0x00000}, {1024, 0xFE000, 0xFE000},
        {384, 0x00000, 0x00000}, {384, 0x3E000, 0x3E000}, {384, 0x40000, 0x00000}, {384, 0x7E000, 0x3E000},
        {384, 0x80000, 0x40000}, {384, 0x9E000, 0x5E000}, {384, 0xA0000, 0x40000}, {384, 0xE0000, 0x40000},
        {384, 0xFE000, 0x5E000},
        {768, 0x00000, 0x00000}, {768, 0xBE000, 0xBE000}, {768, 0xC0000, -1}, {768, 0xFE000, -1},
    };
    for (const Case& k : cases) {
        auto c = card(k.kib);
        const auto got = read(*c, k.address, 0x2000);
        const auto want = k.offset < 0 ? std::vector<uint8_t>(0x2000, 0xFF)
                                       : hucard_bytes(static_cast<uint32_t>(k.offset), 0x2000);
        EXPECT_EQ(got, want) << k.kib << " KiB card at 0x" << std::hex << k.address;
    }
}

TEST(HuCard, WholeSpaceInOneRead) {
    auto c = card(384);
    EXPECT_EQ(c->address_space_size(), 0x100000u);
    const auto all = read(*c, 0, 0x100000);
    EXPECT_EQ(std::vector<uint8_t>(all.begin() + 0x40000, all.begin() + 0x80000), hucard_bytes(0, 0x40000));
    EXPECT_EQ(std::vector<uint8_t>(all.begin() + 0xE0000, all.end()), hucard_bytes(0x40000, 0x20000));
}

TEST(HuCard, Sf2BankPortSelectsTheUpperHalf) {
    auto c = card(2560);
    EXPECT_EQ(read(*c, 0x00000, 0x2000), hucard_bytes(0x00000, 0x2000));
    EXPECT_EQ(read(*c, 0x80000, 0x2000), hucard_bytes(0x80000, 0x2000)) << "bank 0 after power-on";
    for (uint32_t bank = 0; bank < 4; ++bank) {
        c->write(0x1FF0 + bank, 0x00);
        EXPECT_EQ(read(*c, 0xFE000, 0x2000), hucard_bytes(0x80000 + bank * 0x80000 + 0x7E000, 0x2000))
            << "bank " << bank;
        EXPECT_EQ(read(*c, 0x7E000, 0x2000), hucard_bytes(0x7E000, 0x2000)) << "the low half stays";
    }
    c->write(0x1FF4, 0);  // not the port
    c->write(0x101FF1, 0);  // not the port either: all 24 address bits count
    EXPECT_EQ(read(*c, 0x80000, 16), hucard_bytes(0x80000 + 3 * 0x80000, 16));
    c->power_on(0);
    EXPECT_EQ(read(*c, 0x80000, 16), hucard_bytes(0x80000, 16));
}

TEST(HuCard, OtherCardsIgnoreWrites) {
    auto c = card(512);
    c->write(0x1FF2, 0x55);
    c->write(0x00010, 0x55);
    EXPECT_EQ(read(*c, 0, 0x2000), hucard_bytes(0, 0x2000));
}

TEST(HuCard, CopierHeaderIsSkipped) {
    auto c = card(256, true);
    EXPECT_EQ(read(*c, 0, 0x100), hucard_bytes(0, 0x100));
}

TEST(HuCard, SizesThatAreNoCard) {
    for (size_t size : {size_t{0}, size_t{1000}, size_t{0x50000}, size_t{0x300000}, size_t{0x200000}}) {
        std::string error;
        auto model = make_cartridge("odd.pce", std::vector<uint8_t>(size, 0), CartridgeChoice{}, error);
        EXPECT_FALSE(model) << size;
        EXPECT_NE(error.find("no known card size"), std::string::npos) << error;
    }
}
