#include "fuse/fuse_ops.h"

#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>

#include "device/drive_files.h"

namespace devsim {

namespace {

DriveFiles& files() { return *static_cast<DriveFiles*>(fuse_get_context()->private_data); }

void* op_init(fuse_conn_info* conn, fuse_config* cfg) {
    // Every read must reach the device and every write must be carried out
    // before it returns: no page cache, no attribute cache.
    cfg->direct_io = 1;
    cfg->kernel_cache = 0;
    cfg->auto_cache = 0;
    cfg->entry_timeout = 0;
    cfg->attr_timeout = 0;
    cfg->negative_timeout = 0;
    cfg->hard_remove = 1;
    conn->max_write = kMaxTransfer;
    conn->max_readahead = 0;
    conn->want &= ~FUSE_CAP_WRITEBACK_CACHE;
    return fuse_get_context()->private_data;
}

int op_getattr(const char* path, struct stat* st, fuse_file_info*) {
    return files().stat(DriveFiles::file_of(path), *st);
}

int op_readdir(const char* path, void* buf, fuse_fill_dir_t filler, off_t, fuse_file_info*, fuse_readdir_flags) {
    if (DriveFiles::file_of(path) != FileId::root) return -ENOTDIR;
    std::vector<std::string> names;
    if (const int rc = files().list(names); rc < 0) return rc;
    filler(buf, ".", nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    filler(buf, "..", nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    for (const std::string& name : names) filler(buf, name.c_str(), nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    return 0;
}

int open_file(const char* path, fuse_file_info* fi) {
    uint64_t handle = 0;
    const int rc = files().open(DriveFiles::file_of(path), fi->flags, handle);
    if (rc < 0) return rc;
    fi->fh = handle;
    fi->direct_io = 1;
    fi->keep_cache = 0;
    return 0;
}

int op_open(const char* path, fuse_file_info* fi) { return open_file(path, fi); }

// Only the command file may be "created" (it always exists, but a host that
// creates it afresh for each send must be served).
int op_create(const char* path, mode_t, fuse_file_info* fi) {
    if (DriveFiles::file_of(path) == FileId::none) return -EACCES;
    return open_file(path, fi);
}

int op_read(const char*, char* buf, size_t size, off_t offset, fuse_file_info* fi) {
    if (offset < 0) return -EINVAL;
    const int64_t n = files().read(fi->fh, reinterpret_cast<uint8_t*>(buf), size, static_cast<uint64_t>(offset));
    return static_cast<int>(n);
}

int op_write(const char*, const char* buf, size_t size, off_t offset, fuse_file_info* fi) {
    if (offset < 0) return -EINVAL;
    const int64_t n =
        files().write(fi->fh, reinterpret_cast<const uint8_t*>(buf), size, static_cast<uint64_t>(offset));
    return static_cast<int>(n);
}

int op_truncate(const char* path, off_t size, fuse_file_info*) {
    if (size < 0) return -EINVAL;
    return files().truncate(DriveFiles::file_of(path), static_cast<uint64_t>(size));
}

int op_release(const char*, fuse_file_info* fi) { return files().release(fi->fh); }

// Sectors are carried out as they are written, so there is nothing left to
// push out on a flush or an fsync.
int op_flush(const char*, fuse_file_info*) { return 0; }
int op_fsync(const char*, int, fuse_file_info*) { return 0; }

// Time stamps, modes and owners are the device's own; a host that sets them
// (as Windows programs under Wine may) is told it worked.
int exists(const char* path) {
    struct stat st {};
    return files().stat(DriveFiles::file_of(path), st);
}
int op_utimens(const char* path, const struct timespec*, fuse_file_info*) { return exists(path); }
int op_chmod(const char* path, mode_t, fuse_file_info*) { return exists(path); }
int op_chown(const char* path, uid_t, gid_t, fuse_file_info*) { return exists(path); }

int op_statfs(const char*, struct statvfs* st) {
    std::memset(st, 0, sizeof *st);
    st->f_bsize = 512;
    st->f_frsize = 512;
    st->f_blocks = (64u << 20) / 512;
    st->f_files = 3;
    st->f_namemax = 12;
    return 0;
}

fuse_operations make_operations() {
    fuse_operations ops{};
    ops.init = op_init;
    ops.getattr = op_getattr;
    ops.readdir = op_readdir;
    ops.open = op_open;
    ops.create = op_create;
    ops.read = op_read;
    ops.write = op_write;
    ops.truncate = op_truncate;
    ops.release = op_release;
    ops.flush = op_flush;
    ops.fsync = op_fsync;
    ops.utimens = op_utimens;
    ops.chmod = op_chmod;
    ops.chown = op_chown;
    ops.statfs = op_statfs;
    return ops;
}

}  // namespace

const fuse_operations& drive_operations() {
    static const fuse_operations ops = make_operations();
    return ops;
}

}  // namespace devsim
