// Scripts under which the device goes away. A failed block read is the
// empty text, never the previous block again, so a script that appends
// every block keeps only what the device gave; one that checks its reads can
// stop and remove its partial file. Then the session goes on.

#include <gtest/gtest.h>

#include "fault_session.h"
#include "files.h"
#include "test_images.h"

using devsim_test::DevsimMount;

namespace {

// Sixteen 2 KiB blocks of PRG ROM, one read each.
const char kCopyEveryBlock[] =
    "for i = 0, 15 do\n"
    "  local crc, text = fd_CpuReadAscii(0x8000 + i * 0x800, 0x800)\n"
    "  fd_WriteFile('blocks.bin', text, 1)\n"
    "end\n"
    "print('copied')\n";

const char kStopOnFailedRead[] =
    "for i = 0, 15 do\n"
    "  local crc, text = fd_CpuReadAscii(0x8000 + i * 0x800, 0x800)\n"
    "  if #text == 0 then\n"
    "    fd_DelFile('blocks.bin')\n"
    "    print(string.format('block %d could not be read: blocks.bin removed', i))\n"
    "    return\n"
    "  end\n"
    "  fd_WriteFile('blocks.bin', text, 1)\n"
    "end\n"
    "print('copied')\n";

struct ScriptCase {
    const char* name;
    const char* script;
    int reads;           // reads before the device is gone
    const char* says;    // part of the script's output
    bool keeps_blocks;   // blocks.bin holds the blocks read before
};

class ScriptUnderEjection : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptUnderEjection, KeepsOnlyWhatTheDeviceGave) {
    REQUIRE_FUSE();
    const ScriptCase& c = GetParam();
    DevsimMount mount(faults::nrom_image(), "cart.nes", {"--eject-after", std::to_string(c.reads)});
    ASSERT_TRUE(mount.ok()) << mount.error();
    write_file(mount.work() + "/copy.lua", c.script);

    const ProgramResult r = faults::run_on(mount, "do copy.lua\nd 0 100 after.bin\n");

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string out = faults::command_output(r.out);
    EXPECT_NE(out.find(c.says), std::string::npos) << out;
    EXPECT_NE(out.find("-dump error,read device failed\n-"), std::string::npos) << out;
    const auto blocks = work_file(mount, "blocks.bin");
    if (c.keeps_blocks) {
        ASSERT_TRUE(blocks) << out;
        EXPECT_TRUE(*blocks == faults::memory_slice(0x8000, static_cast<uint32_t>(c.reads) * 0x800))
            << "blocks.bin holds " << blocks->size() << " bytes";
    } else {
        EXPECT_FALSE(blocks) << out;
    }
    EXPECT_FALSE(work_file(mount, "after.bin"));
}

const ScriptCase kScriptCases[] = {
    {"copy_every_block_first_read", kCopyEveryBlock, 1, "copied", true},
    {"copy_every_block_half_way", kCopyEveryBlock, 7, "copied", true},
    {"copy_every_block_last_read", kCopyEveryBlock, 15, "copied", true},
    {"stop_on_failed_read_first", kStopOnFailedRead, 1, "block 1 could not be read: blocks.bin removed", false},
    {"stop_on_failed_read_half_way", kStopOnFailedRead, 7, "block 7 could not be read: blocks.bin removed",
     false},
};

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptUnderEjection, ::testing::ValuesIn(kScriptCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What the dump scripts say when no read ever succeeds. The scripts' own
// tests cover the device going away in the middle of their dumps.
struct DumperCase {
    const char* name;
    bool hucard;
    const char* fault;
    const char* value;
};

class DumperWithoutReads : public ::testing::TestWithParam<DumperCase> {};

TEST_P(DumperWithoutReads, SaysNothingWasDumpedAndKeepsAnOlderImage) {
    REQUIRE_FUSE();
    const DumperCase& c = GetParam();
    std::vector<std::string> options = {c.fault};
    if (c.value) options.push_back(c.value);
    DevsimMount mount(c.hucard ? devsim_test::make_hucard(256) : faults::nrom_image(),
                      c.hucard ? "card.pce" : "cart.nes", options);
    ASSERT_TRUE(mount.ok()) << mount.error();
    copy_scripts(mount);
    const std::string image = c.hucard ? "game.pce" : "game.nes";
    write_file(mount.work() + "/" + image, "an image from an earlier dump");

    const ProgramResult r = faults::run_on(
        mount, dump_command(c.hucard ? "pce.lua" : "nes.lua", c.hucard ? image : "0 " + image) + "list\n");

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Nothing was dumped."), std::string::npos) << r.out;
    EXPECT_EQ(faults::work_text(mount, image), "an image from an earlier dump");
}

const DumperCase kDumperCases[] = {
    {"famicom_reads_fail", false, "--fail-reads", nullptr},
    {"famicom_missing_from_the_start", false, "--eject-after", "0"},
    {"hucard_reads_fail", true, "--fail-reads", nullptr},
    {"hucard_missing_from_the_start", true, "--eject-after", "0"},
};

INSTANTIATE_TEST_SUITE_P(Dumpers, DumperWithoutReads, ::testing::ValuesIn(kDumperCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
