#include "device_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform.h"

namespace {

constexpr uint64_t kSector = platform::kSectorSize;
// A short request still costs one read of this many bytes, as the device
// firmware expects small reads to come in whole 1024-byte windows.
constexpr uint64_t kMinimumWindow = 1024;

bool is_aligned(const void* p) {
    return reinterpret_cast<uintptr_t>(p) % platform::kBufferAlignment == 0;
}

}  // namespace

int32_t read_device_file(const char* path, uint8_t* buffer, uint32_t length, int32_t offset) {
    if (buffer == nullptr) return 0;
    if (offset < 0) return -1;

    // Unbuffered reads serve whole sectors into aligned memory only. A request
    // that is already in that shape goes straight into the caller's buffer;
    // any other is served by reading the aligned window that covers it.
    const uint64_t start = static_cast<uint64_t>(offset);
    if (start % kSector == 0 && length % kSector == 0 && length >= kMinimumWindow &&
        is_aligned(buffer)) {
        const int32_t n = platform::read_unbuffered(path, offset, buffer, length);
        return n < 0 ? -1 : std::min<int32_t>(n, static_cast<int32_t>(length));
    }

    const uint64_t window_start = start / kSector * kSector;
    const uint64_t want_end = std::max(start + length, window_start + kMinimumWindow);
    const uint64_t window_length = (want_end + kSector - 1) / kSector * kSector - window_start;
    if (window_length > 0x7FFFF000u) return -1;

    std::vector<uint8_t> storage(window_length + platform::kBufferAlignment);
    uint8_t* window = storage.data();
    window += (platform::kBufferAlignment - reinterpret_cast<uintptr_t>(window) % platform::kBufferAlignment) %
              platform::kBufferAlignment;

    const int32_t n = platform::read_unbuffered(path, static_cast<int32_t>(window_start), window,
                                                static_cast<uint32_t>(window_length));
    if (n < 0) return -1;
    const uint64_t skip = start - window_start;
    if (static_cast<uint64_t>(n) <= skip) return 0;
    const uint32_t delivered =
        static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(n) - skip, length));
    std::memcpy(buffer, window + skip, delivered);
    return static_cast<int32_t>(delivered);
}
