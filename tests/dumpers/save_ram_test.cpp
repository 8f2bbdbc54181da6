// Battery RAM: sram.lua's backup and restore, and the dump that must leave
// a save as it found it although its RAM test writes over the first bytes.

#include <gtest/gtest.h>

#include "dump_session.h"
#include "files.h"
#include "test_images.h"

using devsim_test::DevsimMount;

namespace {

// A save with no run of equal bytes, so a shifted or partial copy shows.
std::vector<uint8_t> a_save() {
    std::vector<uint8_t> save(0x2000);
    for (size_t i = 0; i < save.size(); ++i) save[i] = static_cast<uint8_t>((i * 37 + (i >> 8) * 11 + 5) & 0xFF);
    return save;
}

class SaveRoundTrip : public ::testing::TestWithParam<int> {};

// Restore, dump the whole cartridge, back up: the backup is the save put
// in, and the dump is the cartridge.
TEST_P(SaveRoundTrip, SaveGoesInSurvivesADumpAndComesBackOut) {
    REQUIRE_FUSE();
    const int mapper = GetParam();
    const std::vector<uint8_t> image = devsim_test::make_ines(mapper, mapper == 0 ? 32 : 128, 8, true);
    DevsimMount mount(image, "cart.nes");
    ASSERT_TRUE(mount.ok()) << mount.error();
    copy_scripts(mount);
    const std::vector<uint8_t> save = a_save();
    devsim_test::write_bytes(mount.work() + "/in.sav", save);
    const std::string m = " " + std::to_string(mapper);

    const std::string out = run_session(*linux_program(), mount,
                                        dump_command("sram.lua", "restore in.sav" + m) +
                                            dump_command("nes.lua", std::to_string(mapper) + " game.nes") +
                                            dump_command("sram.lua", "backup out.sav" + m));

    const auto backup = work_file(mount, "out.sav");
    ASSERT_TRUE(backup) << out;
    EXPECT_TRUE(*backup == save) << out;
    const auto dumped = work_file(mount, "game.nes");
    ASSERT_TRUE(dumped) << out;
    EXPECT_TRUE(*dumped == image) << out;
}

// The boards that keep saves: none (plain RAM), MMC1, MMC3.
INSTANTIATE_TEST_SUITE_P(Boards, SaveRoundTrip, ::testing::Values(0, 1, 4),
                         [](const auto& info) { return "mapper_" + std::to_string(info.param); });

// Written and read back with the console's own commands, so the scripts'
// RAM switching plays no part in what is compared.
TEST(SaveRam, DumpLeavesTheSaveAsItWas) {
    REQUIRE_FUSE();
    DevsimMount mount(devsim_test::make_ines(0, 32, 8, true), "cart.nes");
    ASSERT_TRUE(mount.ok()) << mount.error();
    copy_scripts(mount);
    const std::vector<uint8_t> save = a_save();
    devsim_test::write_bytes(mount.work() + "/in.sav", save);

    const std::string out = run_session(*linux_program(), mount,
                                        "w 6000 2000 in.sav\n" + dump_command("nes.lua", "0 game.nes") +
                                            "d 6000 2000 after.sav\n");

    const auto after = work_file(mount, "after.sav");
    ASSERT_TRUE(after) << out;
    EXPECT_TRUE(*after == save) << out;
    EXPECT_NE(report_value(out, "PRG RAM"), "none") << out;
}

struct Refusal {
    const char* name;
    bool prg_ram;               // the cartridge has RAM at 0x6000
    std::vector<uint8_t> file;  // in.sav before the run; empty: none
    const char* answer;
    const char* message;        // part of what the script says
};

class SaveRefused : public ::testing::TestWithParam<Refusal> {};

// Nothing reaches the RAM and no file is left behind.
TEST_P(SaveRefused, RamAndFilesStayAsTheyWere) {
    REQUIRE_FUSE();
    const Refusal& r = GetParam();
    DevsimMount mount(devsim_test::make_ines(4, 128, 8, r.prg_ram), "cart.nes");
    ASSERT_TRUE(mount.ok()) << mount.error();
    copy_scripts(mount);
    const std::vector<uint8_t> save = a_save();
    devsim_test::write_bytes(mount.work() + "/keep.sav", save);
    if (!r.file.empty()) devsim_test::write_bytes(mount.work() + "/in.sav", r.file);

    const std::string out = run_session(*linux_program(), mount,
                                        dump_command("sram.lua", "restore keep.sav 4") +
                                            dump_command("sram.lua", r.answer) +
                                            dump_command("sram.lua", "backup after.sav 4"));

    EXPECT_NE(out.find(r.message), std::string::npos) << out;
    EXPECT_FALSE(work_file(mount, "out.sav")) << out;
    if (r.prg_ram) {
        const auto after = work_file(mount, "after.sav");
        ASSERT_TRUE(after) << out;
        EXPECT_TRUE(*after == save) << out;
    }
}

const Refusal kRefusals[] = {
    {"short_file", true, std::vector<uint8_t>(0x1000, 0xAA), "restore in.sav 4", "is not an 8 KiB save"},
    {"long_file", true, std::vector<uint8_t>(0x2001, 0xAA), "restore in.sav 4", "is not an 8 KiB save"},
    {"missing_file", true, {}, "restore in.sav 4", "Cannot open in.sav"},
    {"mapper_not_given", true, {}, "backup out.sav", "need their mapper number"},
    {"no_ram_on_the_board", false, {}, "backup out.sav 4", "No RAM answers at 6000"},
};

INSTANTIATE_TEST_SUITE_P(Answers, SaveRefused, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
