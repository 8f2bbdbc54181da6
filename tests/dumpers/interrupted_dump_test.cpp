// Dumps that cannot finish: the device gone half-way, answers the script
// cannot use. Each says why and leaves no image that could pass for a dump.

#include <gtest/gtest.h>

#include "dump_session.h"
#include "files.h"
#include "test_images.h"

using devsim_test::DevsimMount;

namespace {

struct Ejection {
    const char* name;
    bool hucard;
    uint64_t reads;  // reads of the memory image before the device is gone
};

class EjectedMidDump : public ::testing::TestWithParam<Ejection> {};

// An older file of the same name goes too: it would look like this dump.
TEST_P(EjectedMidDump, SaysSoAndLeavesNoImage) {
    REQUIRE_FUSE();
    const Ejection& e = GetParam();
    const std::string image_name = e.hucard ? "game.pce" : "game.nes";
    DevsimMount mount(e.hucard ? devsim_test::make_hucard(384) : devsim_test::make_ines(1, 256, 128, true),
                      e.hucard ? "card.pce" : "cart.nes", {"--eject-after", std::to_string(e.reads)});
    ASSERT_TRUE(mount.ok()) << mount.error();
    copy_scripts(mount);
    devsim_test::write_bytes(mount.work() + "/" + image_name, std::vector<uint8_t>(0x4000, 0x55));

    const std::string out = run_session(*linux_program(), mount,
                                        dump_command(e.hucard ? "pce.lua" : "nes.lua",
                                                     e.hucard ? image_name : "1 " + image_name));

    EXPECT_NE(out.find("Dump stopped."), std::string::npos) << out;
    EXPECT_NE(out.find("the device stopped answering"), std::string::npos) << out;
    EXPECT_NE(out.find(image_name + " was not written."), std::string::npos) << out;
    EXPECT_FALSE(work_file(mount, image_name)) << out;
}

const Ejection kEjections[] = {
    {"famicom_during_the_ram_tests", false, 3},
    {"famicom_among_the_prg_banks", false, 20},
    {"famicom_among_the_chr_banks", false, 60},
    {"hucard_half_way", true, 40},
};

INSTANTIATE_TEST_SUITE_P(Points, EjectedMidDump, ::testing::ValuesIn(kEjections),
                         [](const auto& info) { return std::string(info.param.name); });

struct Answer {
    const char* name;
    const char* input;    // what follows "do nes.lua"
    const char* message;  // part of what the script says
    const char* written;  // the image file it writes, or nullptr
};

class NesAnswer : public ::testing::TestWithParam<Answer> {};

TEST_P(NesAnswer, IsTakenOrTurnedDown) {
    REQUIRE_FUSE();
    const Answer& a = GetParam();
    const std::vector<uint8_t> image = devsim_test::make_ines(0, 32, 8);
    DevsimMount mount(image, "cart.nes");
    ASSERT_TRUE(mount.ok()) << mount.error();
    copy_scripts(mount);

    const std::string out = run_session(*linux_program(), mount, std::string("do nes.lua\n") + a.input);

    EXPECT_NE(out.find(a.message), std::string::npos) << out;
    for (const char* name : {"cart.nes", "game.nes", "my game.nes"}) {
        const bool expected = a.written != nullptr && std::string(a.written) == name;
        const auto file = work_file(mount, name);
        EXPECT_EQ(file.has_value(), expected) << name << "\n" << out;
        if (expected && file) {
            EXPECT_TRUE(*file == image) << out;
        }
    }
}

const Answer kAnswers[] = {
    {"mapper_alone_writes_cart_nes", "0\n", "ROM CRC-32", "cart.nes"},
    {"quoted_name_with_a_blank", "0 \"my game.nes\" h\n", "ROM CRC-32", "my game.nes"},
    {"unknown_mapper", "5 game.nes\n", "Mapper 5 is not one this dumper knows", nullptr},
    {"not_a_number", "mmc1 game.nes\n", "\"mmc1\" is not a mapper number", nullptr},
    {"two_names", "0 game.nes other.nes\n", "What is \"other.nes\"?", nullptr},
    {"empty_line", "\n", "No answer: nothing was dumped.", nullptr},
    {"end_of_input", "", "No answer: nothing was dumped.", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Answers, NesAnswer, ::testing::ValuesIn(kAnswers),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
