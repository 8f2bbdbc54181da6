// The scripts on each program this build made (the Linux one, and the
// Windows one under Wine where present): run from a folder that holds only
// the script, they find their modules beside the program whatever the
// system's path separator.

#include <gtest/gtest.h>

#include "dump_session.h"
#include "test_images.h"

using devsim_test::DevsimMount;

namespace {

TEST(EveryProgram, DumpsACartridgeAndACard) {
    REQUIRE_FUSE();
    const std::vector<uint8_t> cartridge = devsim_test::make_ines(4, 128, 128, true);
    const std::vector<uint8_t> card = devsim_test::make_hucard(384);
    for (const auto& runner : every_program()) {
        SCOPED_TRACE(runner->name());
        {
            DevsimMount mount(cartridge, "cart.nes");
            ASSERT_TRUE(mount.ok()) << mount.error();
            copy_scripts(mount);
            const std::string out = run_session(*runner, mount, dump_command("nes.lua", "4 game.nes"));
            const auto dumped = work_file(mount, "game.nes");
            ASSERT_TRUE(dumped) << out;
            EXPECT_TRUE(*dumped == cartridge) << out;
        }
        {
            DevsimMount mount(card, "card.pce");
            ASSERT_TRUE(mount.ok()) << mount.error();
            copy_scripts(mount);
            const std::string out = run_session(*runner, mount, dump_command("pce.lua", "game.pce"));
            const auto dumped = work_file(mount, "game.pce");
            ASSERT_TRUE(dumped) << out;
            EXPECT_TRUE(*dumped == card) << out;
        }
    }
}

}  // namespace
