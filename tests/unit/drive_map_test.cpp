#include <gtest/gtest.h>

#include "drive_map.h"

namespace {

using platform::DriveType;

TEST(DriveMap, ParsesEntriesAndTypes) {
    std::vector<std::string> errors;
    const auto drives = platform::parse_drive_map("e=/mnt/dev;F:fixed=/data;;g:CDROM=/cd;E=/other", errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(drives['E' - 'A'].type, DriveType::removable);
    EXPECT_EQ(drives['E' - 'A'].root, "/other");  // a later entry replaces an earlier one
    EXPECT_EQ(drives['F' - 'A'].type, DriveType::fixed);
    EXPECT_EQ(drives['G' - 'A'].type, DriveType::cdrom);
    EXPECT_TRUE(drives['D' - 'A'].root.empty());
}

TEST(DriveMap, MalformedEntriesAreReportedAndIgnored) {
    const char* bad[] = {"/no/letter", "1=/x", "E:floppy=/x", "EE=/x", "E=", "=/x", "E:=/x"};
    for (const char* entry : bad) {
        std::vector<std::string> errors;
        const auto drives = platform::parse_drive_map(std::string(entry) + ";H=/ok", errors);
        ASSERT_EQ(errors.size(), 1u) << entry;
        EXPECT_NE(errors[0].find(entry), std::string::npos) << errors[0];
        EXPECT_EQ(drives['H' - 'A'].root, "/ok") << entry;
        EXPECT_TRUE(drives['E' - 'A'].root.empty()) << entry;
    }
}

TEST(DriveMap, ResolvesDrivePaths) {
    std::vector<std::string> errors;
    const auto drives = platform::parse_drive_map("E=/mnt/dev;R=/", errors);
    const struct {
        const char* path;
        bool ok;
        const char* resolved;
    } cases[] = {
        {"E:\\CMD.CMD", true, "/mnt/dev/CMD.CMD"},
        {"e:\\DUMP.ROM", true, "/mnt/dev/DUMP.ROM"},
        {"e:/sub\\x.bin", true, "/mnt/dev/sub/x.bin"},
        {"E:", true, "/mnt/dev"},
        {"R:\\x", true, "/x"},
        {"Z:\\CMD.CMD", false, ""},
        {"out.bin", true, "out.bin"},
        {"dumps\\game.nes", true, "dumps/game.nes"},
        {"/abs/path", true, "/abs/path"},
    };
    for (const auto& c : cases) {
        std::string resolved;
        EXPECT_EQ(platform::resolve_drive_path(drives, c.path, resolved), c.ok) << c.path;
        if (c.ok) {
            EXPECT_EQ(resolved, c.resolved) << c.path;
        }
    }
}

}  // namespace
