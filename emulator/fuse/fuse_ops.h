#pragma once
// The FUSE side of the device: each request goes to DriveFiles as it comes.

#define FUSE_USE_VERSION 31
#include <fuse3/fuse.h>

namespace devsim {

class DriveFiles;

// The operations table; fuse_new's private data must be the DriveFiles.
const fuse_operations& drive_operations();

// Largest write and read the kernel hands over in one request (its own
// ceiling is 256 pages). A 32 MiB run then arrives in 32 requests.
constexpr unsigned kMaxTransfer = 1u << 20;

}  // namespace devsim
