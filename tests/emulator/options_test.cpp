// The emulator's command line: what it accepts, and the one line it gives
// for what it refuses.

#include <gtest/gtest.h>

#include <fstream>

#include "cli/mountpoint.h"
#include "cli/options.h"

using namespace devsim;

TEST(DevsimOptions, Accepted) {
    Options o;
    ASSERT_EQ(parse_options({"-f", "--model", "pc-engine", "--record=ABC", "--prg-ram", "--read-only", "--fail-reads",
                             "--eject-after", "3", "--log", "/tmp/x.log", "-o", "allow_other", "cart.bin", "mnt"},
                            o),
              "");
    EXPECT_TRUE(o.foreground);
    EXPECT_EQ(o.model, Family::pc_engine);
    EXPECT_EQ(o.record, std::string("ABC"));
    EXPECT_TRUE(o.prg_ram && o.read_only && o.fail_reads);
    EXPECT_EQ(o.eject_after, 3u);
    EXPECT_EQ(o.log, "/tmp/x.log");
    EXPECT_EQ(o.fuse_options, std::vector<std::string>{"allow_other"});
    EXPECT_EQ(o.cart, "cart.bin");
    EXPECT_EQ(o.mountpoint, "mnt");

    ASSERT_EQ(parse_options({"--", "-odd.nes", "mnt"}, o), "");
    EXPECT_EQ(o.cart, "-odd.nes");
    ASSERT_EQ(parse_options({"--record", "0123456789ABCDEF", "a.nes", "m"}, o), "");
    ASSERT_EQ(parse_options({"--help"}, o), "");
    EXPECT_TRUE(o.help);
}

TEST(DevsimOptions, Refused) {
    struct Case {
        std::vector<std::string> args;
        const char* why;
    } cases[] = {
        {{}, "give a cartridge image and a mount point (see --help)"},
        {{"a.nes"}, "give a cartridge image and a mount point (see --help)"},
        {{"a.nes", "m", "x"}, "too many arguments: \"x\" (see --help)"},
        {{"--model", "snes", "a.nes", "m"}, "--model must be famicom or pc-engine, not \"snes\""},
        {{"a.nes", "m", "--model"}, "--model needs a value"},
        {{"--record", "0123456789ABCDEFG", "a.nes", "m"},
         "--record takes at most 16 bytes (\"0123456789ABCDEFG\" has 17)"},
        {{"--eject-after", "-1", "a.nes", "m"}, "--eject-after needs a count of reads, not \"-1\""},
        {{"--eject-after", "2x", "a.nes", "m"}, "--eject-after needs a count of reads, not \"2x\""},
        {{"--read-only=yes", "a.nes", "m"}, "--read-only takes no value"},
        {{"--bogus", "a.nes", "m"}, "unknown option --bogus (see --help)"},
    };
    for (const Case& k : cases) {
        Options o;
        EXPECT_EQ(parse_options(k.args, o), k.why);
    }
}

TEST(DevsimOptions, MountPointMustBeAnEmptyFolder) {
    char dir_template[] = "/tmp/devsim-mnt-XXXXXX";
    const std::string dir = ::mkdtemp(dir_template);
    EXPECT_EQ(check_mountpoint(dir), "");
    const std::string file = dir + "/f";
    std::ofstream(file) << "x";
    EXPECT_EQ(check_mountpoint(dir), dir + ": the mount point must be an empty folder");
    EXPECT_EQ(check_mountpoint(file), file + ": not a folder");
    EXPECT_EQ(check_mountpoint(dir + "/missing"), dir + "/missing: No such file or directory");
    std::remove(file.c_str());
    ::rmdir(dir.c_str());
}
