// The device pulled out while a 64 KiB "w" from a file is on its way: the
// device carries out the sectors that reached it and no others, and the
// program goes on to say that the device is gone.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fault_session.h"
#include "files.h"
#include "temp_dir.h"
#include "test_images.h"

using devsim_test::DevsimMount;

namespace {

size_t lines_starting(const std::vector<std::string>& lines, const std::string& start) {
    size_t n = 0;
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0) ++n;
    return n;
}

TEST(PulledOutDuringWrite, SectorsStopAndTheProgramGoesOn) {
    REQUIRE_FUSE();
    TempDir logs;
    const std::string log = logs.file("sectors.log");
    // The one read the device allows is the test's own, made once the write
    // is under way.
    DevsimMount mount(devsim_test::make_ines(0, 32, 0), "cart.nes", {"--eject-after", "1", "--log", log});
    ASSERT_TRUE(mount.ok()) << mount.error();
    std::string data(0x10000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 13 + (i >> 8));
    write_file(mount.work() + "/big.bin", data);

    auto session = faults::start_on(mount, "w 0 10000 big.bin\nd 0 100 after.bin\nw 0 1\n");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (lines_starting(faults::file_lines(log), "run 2 ") == 0 &&
           session.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    int error = 0;
    devsim_test::read_direct(mount.file("DUMP.ROM"), 0, 512, &error);
    const ProgramResult r = session.get();

    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(error, 0) << "the test's own read failed";
    EXPECT_EQ(faults::command_output(r.out),
              "-write 10000 bytes to cartridge to 0000 from big.bin\n"
              "-dump error,read device failed\n"
              "-write 01 to 0000\n-");
    const std::vector<std::string> lines = faults::file_lines(log);
    const size_t carried_out = lines_starting(lines, "run 2 ");
    EXPECT_GT(carried_out, 0u);
    EXPECT_LT(carried_out, 0x10000u) << "the whole write got through before the device was pulled out";
    // The sector that was arriving when the device went is dropped, never
    // carried out in part.
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool ok = lines[i].find(": ok ") != std::string::npos;
        const bool cut = i + 1 == lines.size() && lines[i].find(": dropped: incomplete") != std::string::npos;
        EXPECT_TRUE(ok || cut) << lines[i];
    }
    EXPECT_EQ(lines_starting(lines, "run 3 "), 0u) << "a write reached a device that was gone";
    EXPECT_FALSE(work_file(mount, "after.bin"));
    RecordProperty("sectors_carried_out", static_cast<int>(carried_out));
}

}  // namespace
