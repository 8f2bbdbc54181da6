// The drive's three files as a host sees them through the file system:
// sector runs in any split, truncation, read-back, the log, and the faults.

#include <gtest/gtest.h>

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "device/drive_files.h"
#include "model/load_cartridge.h"
#include "test_images.h"

using namespace devsim;
using namespace devsim_test;

namespace {

class Drive {
public:
    explicit Drive(Faults faults = {}, int mapper = 0, uint32_t chr_kib = 0) {
        log_ = open_memstream(&log_text_, &log_size_);
        std::string error;
        auto model = make_cartridge("t.nes", make_ines(mapper, 32, chr_kib, true), {}, error);
        EXPECT_TRUE(model) << error;
        device_ = std::make_unique<Device>(std::move(model), log_);
        DriveConfig config;
        config.record = default_record(Family::famicom);
        config.faults = faults;
        files_ = std::make_unique<DriveFiles>(*device_, config);
    }
    ~Drive() {
        std::fclose(log_);
        std::free(log_text_);
    }

    DriveFiles& files() { return *files_; }
    Device& device() { return *device_; }
    std::string log() {
        std::fflush(log_);
        return std::string(log_text_, log_size_);
    }

    uint64_t open(FileId file, int flags) {
        uint64_t h = 0;
        EXPECT_EQ(files_->open(file, flags, h), 0);
        return h;
    }

    // One send, as the host makes it, with the run cut into writes of the
    // given sizes (the last repeats).
    void send(const std::vector<uint8_t>& run, std::vector<size_t> pieces = {}) {
        const uint64_t h = open(FileId::command_file, O_WRONLY | O_CREAT | O_TRUNC);
        size_t done = 0, k = 0;
        while (done < run.size()) {
            size_t n = pieces.empty() ? run.size() : pieces[std::min(k++, pieces.size() - 1)];
            n = std::min(n, run.size() - done);
            EXPECT_EQ(files_->write(h, run.data() + done, n, done), static_cast<int64_t>(n));
            done += n;
        }
        EXPECT_EQ(files_->release(h), 0);
    }

    std::vector<uint8_t> memory(uint32_t address, uint32_t count) {
        const uint64_t h = open(FileId::memory_image, O_RDONLY | O_DIRECT);
        std::vector<uint8_t> out(count);
        const int64_t n = files_->read(h, out.data(), count, address);
        files_->release(h);
        out.resize(n < 0 ? 0 : static_cast<size_t>(n));
        return out;
    }

private:
    std::FILE* log_ = nullptr;
    char* log_text_ = nullptr;
    size_t log_size_ = 0;
    std::unique_ptr<Device> device_;
    std::unique_ptr<DriveFiles> files_;
};

std::vector<uint8_t> run_of_writes(uint16_t address, uint32_t count) {
    std::vector<uint8_t> run;
    for (uint32_t i = 0; i < count; ++i) {
        const auto s = famicom_write_sector(static_cast<uint16_t>(address + i), static_cast<uint8_t>(i * 7 + 1));
        run.insert(run.end(), s.begin(), s.end());
    }
    return run;
}

}  // namespace

TEST(DriveFiles, NamesAndIdentification) {
    EXPECT_EQ(DriveFiles::file_of("/"), FileId::root);
    EXPECT_EQ(DriveFiles::file_of("/DUMP.ROM"), FileId::memory_image);
    EXPECT_EQ(DriveFiles::file_of("/dump.rom"), FileId::memory_image);
    EXPECT_EQ(DriveFiles::file_of("/Q-DRIVER.DMP"), FileId::id_file);
    EXPECT_EQ(DriveFiles::file_of("/CMD.CMD"), FileId::command_file);
    EXPECT_EQ(DriveFiles::file_of("/CMD.CMD/x"), FileId::none);
    EXPECT_EQ(DriveFiles::file_of("/OTHER"), FileId::none);

    Drive d;
    const uint64_t h = d.open(FileId::id_file, O_RDONLY);
    std::vector<uint8_t> window(1024);
    EXPECT_EQ(d.files().read(h, window.data(), 1024, 0x8000), 1024);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(window.data()), 16), "NV4_PCB02_FWV1.0");
    EXPECT_EQ(window[16], 0);
    struct stat st {};
    EXPECT_EQ(d.files().stat(FileId::id_file, st), 0);
    EXPECT_EQ(st.st_size, 0x10000);
    EXPECT_EQ(d.files().stat(FileId::memory_image, st), 0);
    EXPECT_EQ(st.st_size, 0x10000);
}

TEST(DriveFiles, MemoryImageReadsEndAtTheAddressSpace) {
    Drive d({}, 0, 8);
    EXPECT_EQ(d.memory(0x8000, 0x1000), prg_bytes(0, 0x1000));
    EXPECT_EQ(d.memory(0xFE00, 0x1000).size(), 0x200u);
    EXPECT_EQ(d.memory(0x10000, 0x400).size(), 0u);
}

TEST(DriveFiles, RunsSplitAnywhereAreCarriedOutWhole) {
    // 8 KiB of CHR RAM written through 8192 sectors, the run cut the way the
    // kernel cuts a write from an unaligned buffer, and cut into odd pieces.
    for (const std::vector<size_t>& pieces : {std::vector<size_t>{}, std::vector<size_t>{1048560, 1048576},
                                              std::vector<size_t>{700}, std::vector<size_t>{1, 511, 3}}) {
        Drive d;
        const auto run = run_of_writes(0x0000, 0x2000);
        d.send(run, pieces);
        std::vector<uint8_t> want(0x2000);
        for (uint32_t i = 0; i < 0x2000; ++i) want[i] = static_cast<uint8_t>(i * 7 + 1);
        EXPECT_EQ(d.memory(0, 0x2000), want) << "pieces " << (pieces.empty() ? 0 : pieces[0]);
        EXPECT_EQ(d.device().sectors_carried_out(), 0x2000u);
        EXPECT_EQ(d.files().command_file(), run);
    }
}

TEST(DriveFiles, EachSectorTakesEffectBeforeTheWriteReturns) {
    Drive d({}, 2);  // UxROM: a bank switch shows at 0x8000 at once
    const uint64_t h = d.open(FileId::command_file, O_WRONLY | O_TRUNC);
    const auto s = famicom_write_sector(table_address(1), 1);
    ASSERT_EQ(d.files().write(h, s.data(), 300, 0), 300);
    EXPECT_EQ(d.memory(0x8000, 16), prg_bytes(0, 16)) << "half a sector does nothing";
    ASSERT_EQ(d.files().write(h, s.data() + 300, 212, 300), 212);
    EXPECT_EQ(d.memory(0x8000, 16), prg_bytes(0x4000, 16)) << "bank 1 as soon as the sector is whole";
    d.files().release(h);
}

TEST(DriveFiles, TruncationStartsANewRunAndReadBackGivesTheLast) {
    Drive d;
    d.send(run_of_writes(0x0000, 4));
    d.send(famicom_init_sector());
    EXPECT_EQ(d.files().command_file(), famicom_init_sector()) << "a short send leaves exactly its sectors";
    struct stat st {};
    d.files().stat(FileId::command_file, st);
    EXPECT_EQ(st.st_size, 512);

    const uint64_t h = d.open(FileId::command_file, O_RDONLY);
    std::vector<uint8_t> back(1024);
    EXPECT_EQ(d.files().read(h, back.data(), 1024, 0), 512);
    back.resize(512);
    EXPECT_EQ(back, famicom_init_sector());
    d.files().release(h);

    EXPECT_EQ(d.files().truncate(FileId::command_file, 0), 0);
    EXPECT_TRUE(d.files().command_file().empty());
    EXPECT_EQ(d.files().runs(), 3u);
}

TEST(DriveFiles, LogHasOneLinePerSector) {
    Drive d;
    auto run = run_of_writes(0x6000, 2);
    const auto bad = framed({0, 0x11, 0x01});
    run.insert(run.end(), bad.begin(), bad.end());
    run.insert(run.end(), 100, 0x5A);  // a sector that never completes
    d.send(run);
    EXPECT_EQ(d.log(),
              "run 1 sector 0: ok write 6000 01\n"
              "run 1 sector 1: ok write 6001 08\n"
              "run 1 sector 2: dropped: family byte 11 is not this device's\n"
              "run 1 sector 3: dropped: incomplete (100 of 512 bytes written)\n");
    EXPECT_EQ(d.device().sectors_dropped(), 2u);
}

TEST(DriveFiles, ReadOnlyFault) {
    Faults f;
    f.read_only = true;
    Drive d(f);
    uint64_t h = 0;
    EXPECT_EQ(d.files().open(FileId::command_file, O_WRONLY | O_CREAT | O_TRUNC, h), -EACCES);
    EXPECT_EQ(d.files().open(FileId::command_file, O_RDWR, h), -EACCES);
    EXPECT_EQ(d.files().truncate(FileId::command_file, 0), -EACCES);
    EXPECT_EQ(d.files().open(FileId::command_file, O_RDONLY, h), 0);
    EXPECT_EQ(d.memory(0x8000, 16), prg_bytes(0, 16)) << "reads still work";
}

TEST(DriveFiles, ReadOnlyFilesRefuseWriters) {
    Drive d;
    uint64_t h = 0;
    EXPECT_EQ(d.files().open(FileId::memory_image, O_RDWR, h), -EACCES);
    EXPECT_EQ(d.files().open(FileId::id_file, O_WRONLY | O_TRUNC, h), -EACCES);
    EXPECT_EQ(d.files().truncate(FileId::memory_image, 0), -EACCES);
    EXPECT_EQ(d.files().open(FileId::none, O_RDONLY, h), -ENOENT);
}

TEST(DriveFiles, FailReadsFault) {
    Faults f;
    f.fail_reads = true;
    Drive d(f);
    const uint64_t h = d.open(FileId::memory_image, O_RDONLY);
    std::vector<uint8_t> buf(1024);
    EXPECT_EQ(d.files().read(h, buf.data(), 1024, 0x8000), -EIO);
    const uint64_t id = d.open(FileId::id_file, O_RDONLY);
    EXPECT_EQ(d.files().read(id, buf.data(), 1024, 0x8000), 1024);
    d.send(famicom_init_sector());
    EXPECT_EQ(d.device().sectors_carried_out(), 1u);
}

TEST(DriveFiles, EjectAfterNReads) {
    Faults f;
    f.eject_after = 2;
    Drive d(f);
    EXPECT_EQ(d.memory(0x8000, 1024).size(), 1024u);
    EXPECT_FALSE(d.files().ejected());
    EXPECT_EQ(d.memory(0x8400, 1024).size(), 1024u);
    EXPECT_TRUE(d.files().ejected()) << "gone right after the second read";

    uint64_t h = 0;
    struct stat st {};
    std::vector<std::string> names;
    EXPECT_EQ(d.files().open(FileId::memory_image, O_RDONLY, h), -ENOMEDIUM);
    EXPECT_EQ(d.files().open(FileId::id_file, O_RDONLY, h), -ENOMEDIUM);
    EXPECT_EQ(d.files().open(FileId::command_file, O_WRONLY | O_TRUNC, h), -ENOMEDIUM);
    EXPECT_EQ(d.files().stat(FileId::id_file, st), -ENOMEDIUM);
    EXPECT_EQ(d.files().list(names), -ENOMEDIUM);
    EXPECT_EQ(d.files().stat(FileId::root, st), 0) << "the mount itself stays, to be unmounted";

    Faults at_once;
    at_once.eject_after = 0;
    Drive empty(at_once);
    EXPECT_EQ(empty.files().open(FileId::id_file, O_RDONLY, h), -ENOMEDIUM);
}

TEST(DriveFiles, OpenFilesAlreadyOpenFailAfterEject) {
    Faults f;
    f.eject_after = 1;
    Drive d(f);
    const uint64_t cmd = d.open(FileId::command_file, O_WRONLY | O_TRUNC);
    const uint64_t mem = d.open(FileId::memory_image, O_RDONLY);
    std::vector<uint8_t> buf(1024);
    EXPECT_EQ(d.files().read(mem, buf.data(), 1024, 0), 1024);
    EXPECT_EQ(d.files().read(mem, buf.data(), 1024, 0), -ENOMEDIUM);
    const auto s = famicom_init_sector();
    EXPECT_EQ(d.files().write(cmd, s.data(), s.size(), 0), -ENOMEDIUM);
    EXPECT_EQ(d.files().release(cmd), 0);
    EXPECT_EQ(d.files().release(mem), 0);
}
