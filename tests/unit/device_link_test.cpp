#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "command_sectors.h"
#include "device_drive.h"
#include "device_file.h"
#include "device_link.h"
#include "device_slots.h"
#include "files.h"
#include "memory_access.h"
#include "temp_dir.h"

namespace {

// A Famicom-family drive E: made of a temporary folder, selected.
class DeviceLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        make_device_drive(drive_.path(), kFamicomRecord, 0x3000);
        setenv("CALDRIN_DRIVES", ("E=" + drive_.path()).c_str(), 1);
        testing::internal::CaptureStdout();
        ASSERT_EQ(select_device('E'), 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Init NV4_PCB02_FW0102 OK\n");
    }
    void TearDown() override {
        reset_device_slots();
        unsetenv("CALDRIN_DRIVES");
    }
    std::string command_file() const { return read_file(drive_.file("CMD.CMD")); }

    TempDir drive_;
};

TEST_F(DeviceLinkTest, InitSectorsGoOutFramedWithTheirCrc) {
    const std::string famicom = command_file();
    ASSERT_EQ(famicom.size(), 512u);
    EXPECT_EQ(hex(famicom.substr(0, 5)), "5a0e010001");
    EXPECT_EQ(famicom.substr(5, 505), std::string(505, '\0'));
    EXPECT_EQ(hex(famicom.substr(510)), "5442");

    EXPECT_EQ(send_init_pc_engine(), 512);
    const std::string pc_engine = command_file();
    EXPECT_EQ(hex(pc_engine.substr(0, 3)), "5a1101");
    EXPECT_EQ(pc_engine.substr(3, 507), std::string(507, '\0'));
    EXPECT_EQ(hex(pc_engine.substr(510)), "d438");
}

TEST_F(DeviceLinkTest, SendFramesEverySectorInPlace) {
    std::vector<uint8_t> run(3 * 512, 0);
    run[512 + 7] = 0x42;  // the middle sector differs
    EXPECT_EQ(send_command_sectors(run.data(), static_cast<uint32_t>(run.size())), 1536);
    const std::string sent = command_file();
    EXPECT_EQ(sent, std::string(run.begin(), run.end()));
    EXPECT_EQ(hex(sent.substr(510, 2)), "0aca");      // all-zero body
    EXPECT_EQ(sent.substr(510, 2), sent.substr(1534, 2));  // equal sectors, equal CRCs
    std::string middle = std::string(512, '\0');
    middle[7] = 0x42;
    EXPECT_EQ(sent.substr(512, 512), framed_sector(middle));
}

// Long enough that sectors are framed in groups, with some left over.
TEST_F(DeviceLinkTest, SendFramesEverySectorOfALongRun) {
    constexpr uint32_t kSectors = 37;
    std::vector<uint8_t> run(kSectors * 512);
    for (size_t i = 0; i < run.size(); ++i) run[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
    const std::string body(run.begin(), run.end());
    ASSERT_EQ(send_command_sectors(run.data(), kSectors * 512), int32_t(kSectors * 512));
    const std::string sent = command_file();
    ASSERT_EQ(sent.size(), kSectors * 512u);
    for (uint32_t k = 0; k < kSectors; ++k)
        EXPECT_EQ(sent.substr(k * 512, 512), framed_sector(body.substr(k * 512, 512))) << "sector " << k;
}

TEST_F(DeviceLinkTest, SendReplacesTheWholeCommandFile) {
    std::vector<uint8_t> run(4 * 512, 0);
    ASSERT_EQ(send_command_sectors(run.data(), 4 * 512), 4 * 512);
    ASSERT_EQ(send_command_sectors(run.data(), 512), 512);
    EXPECT_EQ(command_file().size(), 512u);
    EXPECT_EQ(send_command_sectors(run.data(), 0), 0);
    EXPECT_TRUE(file_exists(drive_.file("CMD.CMD")));
    EXPECT_EQ(command_file().size(), 0u);
}

TEST_F(DeviceLinkTest, SendRefusesPartialSectorsAndUncreatableFiles) {
    std::vector<uint8_t> run(1024, 0x11);
    ASSERT_EQ(send_command_sectors(run.data(), 512), 512);
    EXPECT_EQ(send_command_sectors(run.data(), 700), 0);
    EXPECT_EQ(command_file().size(), 512u);  // untouched
    EXPECT_EQ(run[600], 0x11);               // nothing framed past the length

    ASSERT_EQ(::chmod(drive_.path().c_str(), 0555), 0);
    ::unlink(drive_.file("CMD.CMD").c_str());
    if (::geteuid() != 0) {
        EXPECT_EQ(send_command_sectors(run.data(), 512), 0);
    }
    ::chmod(drive_.path().c_str(), 0755);
}

TEST_F(DeviceLinkTest, MemoryWritesBuildOneSectorPerByte) {
    const uint8_t a5 = 0xA5;
    EXPECT_EQ(write_memory_famicom(0x8000, &a5, 1), 512);
    EXPECT_EQ(hex(command_file().substr(0, 13)), "5a0e05000080000001000000a5");
    EXPECT_EQ(hex(command_file().substr(510)), "6f8a");

    EXPECT_EQ(write_memory_pc_engine(0x12345, &a5, 1), 512);
    EXPECT_EQ(hex(command_file().substr(0, 7)), "5a1102452301a5");
    EXPECT_EQ(hex(command_file().substr(510)), "6d85");

    const uint8_t three[3] = {1, 2, 3};
    EXPECT_EQ(write_memory_famicom(0x1FFFE, three, 3), 3 * 512);
    std::string expected;
    for (uint32_t i = 0; i < 3; ++i) expected += famicom_write_sector(0x1FFFE + i, three[i]);
    EXPECT_EQ(command_file(), expected);
    EXPECT_EQ(hex(command_file().substr(512 * 2 + 4, 2)), "0000");  // 16-bit address wraps

    EXPECT_EQ(write_memory_pc_engine(0x1FFFE, three, 3), 3 * 512);
    expected.clear();
    for (uint32_t i = 0; i < 3; ++i) expected += pc_engine_write_sector(0x1FFFE + i, three[i]);
    EXPECT_EQ(command_file(), expected);
    EXPECT_EQ(three[0] * 100 + three[1] * 10 + three[2], 123);  // data left as it was

    EXPECT_EQ(write_memory_famicom(0, three, 0), 0);
    EXPECT_EQ(command_file().size(), 0u);
}

TEST_F(DeviceLinkTest, ReadsDeliverOnlyWhatTheFileHolds) {
    const std::string image = pattern_image(0x3000);
    const struct {
        int32_t offset;
        uint32_t length;
        int32_t result;
    } cases[] = {
        {0, 0, 0},  {0x10, 16, 16},     {0x8, 1023, 1023},   {0, 1024, 1024},
        {0x200, 0x1000, 0x1000},  {0x123, 0x1001, 0x1001}, {0x2E00, 0x1000, 0x200},
        {0x2FFF, 16, 1},          {0x3000, 16, 0},    {0x5000, 0x1000, 0},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> buffer(c.length + 8, 0xEE);
        const int32_t n = read_memory_image(c.offset, buffer.data(), c.length);
        ASSERT_EQ(n, c.result) << std::hex << c.offset << " " << c.length;
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + n), image.substr(std::min<size_t>(c.offset, image.size()), n));
        for (size_t i = static_cast<size_t>(n); i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 0xEE) << "byte " << i << " past what the file delivered";
    }
}

TEST_F(DeviceLinkTest, ReadFailures) {
    uint8_t buffer[16] = {};
    EXPECT_EQ(read_memory_image(-512, buffer, 16), -1);
    EXPECT_EQ(read_device_file(drive_.file("DUMP.ROM").c_str(), nullptr, 16, 0), 0);
    ::unlink(drive_.file("DUMP.ROM").c_str());
    EXPECT_EQ(read_memory_image(0, buffer, 16), -1);
}

}  // namespace
