#include "device/drive_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

namespace devsim {

namespace {

// The error of every file once the medium is gone.
constexpr int kEjected = ENOMEDIUM;

bool wants_write(int flags) { return (flags & O_ACCMODE) != O_RDONLY || (flags & O_TRUNC) != 0; }

}  // namespace

std::array<uint8_t, kIdRecordSize> default_record(Family family) {
    const char* text = family == Family::famicom ? "NV4_PCB02_FWV1.0" : "HX8_PCB02_FWV1.0";
    std::array<uint8_t, kIdRecordSize> record{};
    std::memcpy(record.data(), text, kIdRecordSize);
    return record;
}

DriveFiles::DriveFiles(Device& device, DriveConfig config)
    : device_(device), config_(config), id_file_(kIdFileSize, 0x00) {
    std::memcpy(id_file_.data() + kIdRecordOffset, config_.record.data(), kIdRecordSize);
    ejected_ = config_.faults.eject_after && *config_.faults.eject_after == 0;
    ::clock_gettime(CLOCK_REALTIME, &mount_time_);
    command_time_ = mount_time_;
}

const std::array<FileId, 3>& DriveFiles::files() {
    static const std::array<FileId, 3> all = {FileId::id_file, FileId::memory_image, FileId::command_file};
    return all;
}

const char* DriveFiles::name_of(FileId file) {
    switch (file) {
        case FileId::id_file: return "Q-DRIVER.DMP";
        case FileId::memory_image: return "DUMP.ROM";
        case FileId::command_file: return "CMD.CMD";
        default: return "";
    }
}

FileId DriveFiles::file_of(const char* path) {
    if (std::strcmp(path, "/") == 0) return FileId::root;
    if (path[0] != '/') return FileId::none;
    for (FileId file : files())
        if (strcasecmp(path + 1, name_of(file)) == 0) return file;
    return FileId::none;
}

int DriveFiles::stat(FileId file, struct stat& st) const {
    std::memset(&st, 0, sizeof st);
    st.st_uid = ::getuid();
    st.st_gid = ::getgid();
    st.st_atim = st.st_mtim = st.st_ctim = mount_time_;
    st.st_blksize = kSectorSize;
    switch (file) {
        case FileId::root:
            st.st_mode = S_IFDIR | 0755;
            st.st_nlink = 2;
            return 0;
        case FileId::none:
            return -ENOENT;
        default:
            break;
    }
    if (ejected_) return -kEjected;
    st.st_nlink = 1;
    switch (file) {
        case FileId::id_file:
            st.st_mode = S_IFREG | 0444;
            st.st_size = kIdFileSize;
            break;
        case FileId::memory_image:
            st.st_mode = S_IFREG | 0444;
            st.st_size = device_.model().address_space_size();
            break;
        default:
            st.st_mode = S_IFREG | (config_.faults.read_only ? 0444 : 0644);
            st.st_size = static_cast<off_t>(command_.size());
            st.st_mtim = st.st_ctim = command_time_;
            break;
    }
    st.st_blocks = (st.st_size + 511) / 512;
    return 0;
}

int DriveFiles::list(std::vector<std::string>& names) const {
    if (ejected_) return -kEjected;
    names.clear();
    for (FileId file : files()) names.push_back(name_of(file));
    return 0;
}

int DriveFiles::open(FileId file, int flags, uint64_t& handle) {
    if (file == FileId::none) return -ENOENT;
    if (file == FileId::root) return -EISDIR;
    if (ejected_) return -kEjected;
    const bool writing = wants_write(flags);
    if (writing && (file != FileId::command_file || config_.faults.read_only)) return -EACCES;
    if (file == FileId::command_file && (flags & O_TRUNC)) new_run();
    handle = next_handle_++;
    OpenFile& open_file = open_[handle];
    open_file.file = file;
    open_file.writable = (flags & O_ACCMODE) != O_RDONLY;
    return 0;
}

void DriveFiles::new_run() {
    command_.clear();
    ++run_;
    ::clock_gettime(CLOCK_REALTIME, &command_time_);
}

int DriveFiles::truncate(FileId file, uint64_t size) {
    if (file == FileId::none) return -ENOENT;
    if (file == FileId::root) return -EISDIR;
    if (ejected_) return -kEjected;
    if (file != FileId::command_file || config_.faults.read_only) return -EACCES;
    if (size > kCommandFileLimit) return -EFBIG;
    if (size == 0)
        new_run();
    else
        command_.resize(size, 0x00);
    return 0;
}

int64_t DriveFiles::read_memory_image(uint8_t* buffer, size_t size, uint64_t offset) {
    ++memory_reads_;
    if (config_.faults.eject_after && memory_reads_ >= *config_.faults.eject_after) ejected_ = true;
    if (config_.faults.fail_reads) return -EIO;
    const uint64_t end_of_file = device_.model().address_space_size();
    if (offset >= end_of_file) return 0;
    const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(size, end_of_file - offset));
    device_.model().read(static_cast<uint32_t>(offset), buffer, count);
    return count;
}

int64_t DriveFiles::read(uint64_t handle, uint8_t* buffer, size_t size, uint64_t offset) {
    const auto it = open_.find(handle);
    if (it == open_.end()) return -EBADF;
    if (ejected_) return -kEjected;
    const std::vector<uint8_t>* bytes = nullptr;
    switch (it->second.file) {
        case FileId::memory_image: return read_memory_image(buffer, size, offset);
        case FileId::id_file: bytes = &id_file_; break;
        case FileId::command_file: bytes = &command_; break;
        default: return -EBADF;
    }
    if (offset >= bytes->size()) return 0;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(size, bytes->size() - offset));
    std::memcpy(buffer, bytes->data() + offset, count);
    return static_cast<int64_t>(count);
}

int64_t DriveFiles::write(uint64_t handle, const uint8_t* data, size_t size, uint64_t offset) {
    const auto it = open_.find(handle);
    if (it == open_.end()) return -EBADF;
    if (ejected_) return -kEjected;
    OpenFile& open_file = it->second;
    if (open_file.file != FileId::command_file || !open_file.writable || config_.faults.read_only)
        return -EBADF;
    if (offset > kCommandFileLimit || size > kCommandFileLimit - offset) return -EFBIG;
    if (size == 0) return 0;

    const uint64_t end = offset + size;
    if (command_.size() < end) command_.resize(end);
    std::memcpy(command_.data() + offset, data, size);
    ::clock_gettime(CLOCK_REALTIME, &command_time_);

    // Whole sectors are carried out straight from the caller's bytes; a
    // sector split across writes waits in this open file until its last byte
    // arrives.
    for (uint64_t pos = offset; pos < end;) {
        const uint64_t index = pos / kSectorSize;
        const uint64_t sector_start = index * kSectorSize;
        const uint64_t piece_end = std::min(end, sector_start + kSectorSize);
        if (pos == sector_start && piece_end == sector_start + kSectorSize) {
            open_file.partial.erase(index);
            device_.handle_sector(data + (pos - offset), run_, index);
        } else {
            PartialSector& partial = open_file.partial[index];
            const size_t from = static_cast<size_t>(pos - sector_start);
            const size_t count = static_cast<size_t>(piece_end - pos);
            std::memcpy(partial.bytes.data() + from, data + (pos - offset), count);
            for (size_t i = from; i < from + count; ++i) partial.present.set(i);
            if (partial.present.all()) {
                device_.handle_sector(partial.bytes.data(), run_, index);
                open_file.partial.erase(index);
            }
        }
        pos = piece_end;
    }
    device_.flush_log();
    return static_cast<int64_t>(size);
}

void DriveFiles::drop_partials(OpenFile& open_file) {
    for (const auto& [index, partial] : open_file.partial)
        device_.drop_incomplete(run_, index, static_cast<uint32_t>(partial.present.count()));
    open_file.partial.clear();
    device_.flush_log();
}

int DriveFiles::release(uint64_t handle) {
    const auto it = open_.find(handle);
    if (it == open_.end()) return -EBADF;
    drop_partials(it->second);
    open_.erase(it);
    return 0;
}

}  // namespace devsim
