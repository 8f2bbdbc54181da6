// From image files to cartridges: families, iNES headers and the errors a
// user sees for files that are no usable image.

#include <gtest/gtest.h>

#include "model/load_cartridge.h"
#include "test_images.h"

using namespace devsim;
using namespace devsim_test;

namespace {

std::string error_for(const std::string& name, const std::vector<uint8_t>& bytes, CartridgeChoice choice = {}) {
    std::string error;
    auto model = make_cartridge(name, bytes, choice, error);
    return model ? std::string() : error;
}

}  // namespace

TEST(CartridgeFiles, FamilyFromNameSignatureOrChoice) {
    std::string error;
    auto nes = make_cartridge("GAME.NES", make_ines(0, 32, 8), {}, error);
    ASSERT_TRUE(nes) << error;
    EXPECT_EQ(nes->family(), Family::famicom);

    auto unnamed = make_cartridge("game.bin", make_ines(0, 32, 8), {}, error);
    ASSERT_TRUE(unnamed) << error;
    EXPECT_EQ(unnamed->family(), Family::famicom);

    auto pce = make_cartridge("game.pce", make_hucard(256), {}, error);
    ASSERT_TRUE(pce) << error;
    EXPECT_EQ(pce->family(), Family::pc_engine);

    CartridgeChoice as_pce;
    as_pce.family = Family::pc_engine;
    auto forced = make_cartridge("game.nes", make_hucard(256), as_pce, error);
    ASSERT_TRUE(forced) << error;
    EXPECT_EQ(forced->family(), Family::pc_engine);

    EXPECT_NE(error_for("game.bin", make_hucard(256)).find("cannot tell the cartridge family"), std::string::npos);
}

TEST(CartridgeFiles, BadInesImages) {
    auto truncated = make_ines(0, 32, 8);
    truncated.resize(truncated.size() - 1);
    auto no_prg = make_ines(0, 32, 8);
    no_prg[4] = 0;
    auto bad_magic = make_ines(0, 32, 8);
    bad_magic[3] = 0x1B;

    struct Case {
        std::vector<uint8_t> bytes;
        const char* error;
    } cases[] = {
        {{}, "too short for an iNES header"},
        {bad_magic, "not an iNES image"},
        {truncated, "truncated: the header asks for 40976 bytes, the file has 40975"},
        {no_prg, "the header gives no PRG ROM"},
        {make_ines(5, 32, 8), "mapper 5 is not emulated (known mappers: 0, 1, 2, 3, 4, 7)"},
        {make_ines(0x42, 32, 8), "mapper 66 is not emulated"},
    };
    for (const Case& k : cases) EXPECT_NE(error_for("x.nes", k.bytes).find(k.error), std::string::npos) << k.error;
}

TEST(CartridgeFiles, HeaderDetails) {
    std::string error;
    // A trainer sits between the header and the PRG ROM.
    auto with_trainer = make_ines(0, 16, 8);
    with_trainer[6] |= 0x04;
    with_trainer.insert(with_trainer.begin() + 16, 512, 0xEE);
    auto t = make_cartridge("t.nes", with_trainer, {}, error);
    ASSERT_TRUE(t) << error;
    uint8_t b = 0;
    t->read(0x8000, &b, 1);
    EXPECT_EQ(b, prg_byte(0));

    // Text left by old tools in bytes 12-15 is not part of the mapper number.
    auto dirty = make_ines(1, 32, 8);
    dirty[7] = 'D';
    std::copy_n("Dude", 4, dirty.begin() + 12);
    auto d = make_cartridge("d.nes", dirty, {}, error);
    ASSERT_TRUE(d) << error;
    EXPECT_NE(d->describe().find("mapper 1 "), std::string::npos);

    // NES 2.0: mapper bits 8-11 in byte 8.
    auto nes2 = make_ines(4, 32, 8);
    nes2[7] |= 0x08;
    nes2[8] = 0x01;
    EXPECT_NE(error_for("n.nes", nes2).find("mapper 260 is not emulated"), std::string::npos);
}

TEST(CartridgeFiles, LoadNamesTheFile) {
    std::string error;
    EXPECT_FALSE(load_cartridge("/nonexistent/game.nes", {}, error));
    EXPECT_EQ(error, "/nonexistent/game.nes: No such file or directory");
    EXPECT_FALSE(load_cartridge("/tmp", {}, error));
    EXPECT_EQ(error, "/tmp: not a regular file");
}
