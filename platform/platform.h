#pragma once
// The operating-system layer. Each operation maps onto one short sequence of
// Win32 calls (named beside it), so the Windows build is a direct transcription
// and the POSIX build gives the same results on Linux. Paths are the program's
// own: device files are named "X:\NAME" with a drive letter; the POSIX layer
// maps drive letters to folders (CALDRIN_DRIVES or removable media).

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Sector size of the device's unbuffered reads: offsets and lengths handed to
// read_unbuffered are multiples of it.
constexpr uint32_t kSectorSize = 512;
// Alignment of buffers handed to read_unbuffered.
constexpr size_t kBufferAlignment = 4096;

// GetDriveTypeA results, same values.
enum class DriveType : unsigned {
    unknown = 0,
    no_root_dir = 1,
    removable = 2,
    fixed = 3,
    remote = 4,
    cdrom = 5,
    ramdisk = 6,
};

// GetLogicalDrives: bit 0 for A up to bit 25 for Z.
uint32_t logical_drives();

// GetDriveTypeA on the root "X:" (two characters, no backslash).
DriveType drive_type(char letter);

// CreateFileA(GENERIC_READ, FILE_SHARE_READ|FILE_SHARE_WRITE, OPEN_EXISTING,
// FILE_FLAG_NO_BUFFERING), SetFilePointer(offset, FILE_BEGIN), one ReadFile,
// CloseHandle. The platform's file cache is bypassed, so the device serves
// every byte. offset and length are multiples of kSectorSize, buffer is
// aligned to kBufferAlignment. Returns the bytes read (fewer at the end of
// the file), -1 when the open, the seek or the read fails.
int32_t read_unbuffered(const char* path, int32_t offset, void* buffer, uint32_t length);

// CreateFileA(GENERIC_WRITE, no sharing, CREATE_ALWAYS), one WriteFile,
// CloseHandle. The device must see the command before the next read: Windows
// writes removable drives through, and the POSIX layer flushes the write
// (fsync) because Linux caches it. Returns the bytes written, 0 when the file
// cannot be created, -1 when the write fails.
int32_t write_command_file(const char* path, const void* data, uint32_t length);

// Sharing of a host file while it is open.
enum class Sharing {
    shared,     // FILE_SHARE_READ | FILE_SHARE_WRITE
    exclusive,  // share mode 0: other openers are refused
};

// CreateFileA(GENERIC_READ, sharing, OPEN_EXISTING), SetFilePointer(offset,
// FILE_BEGIN), one ReadFile, CloseHandle. A negative offset fails the seek and
// the read starts at the beginning of the file, as on Windows. Returns the
// bytes read (0 when the read fails), -1 when the file cannot be opened.
int32_t read_host_file(const char* path, int32_t offset, void* buffer, uint32_t length,
                       Sharing sharing);

// CreateFileA(GENERIC_WRITE, no sharing, CREATE_ALWAYS), one WriteFile,
// CloseHandle. Returns the bytes written, 0 when the file cannot be created,
// -1 when the write fails or writes fewer bytes than asked.
int32_t create_host_file(const char* path, const void* data, uint32_t length);

// CreateFileA(GENERIC_READ|GENERIC_WRITE, no sharing, OPEN_ALWAYS,
// FILE_ATTRIBUTE_ARCHIVE), SetFilePointer(0, FILE_END), one WriteFile,
// CloseHandle. Returns the bytes written, 0 when the write fails, -1 when the
// file cannot be opened.
int32_t append_host_file(const char* path, const void* data, uint32_t length);

// GetFileAttributesA succeeds: a file or a folder of that name exists.
bool path_exists(const char* path);

// CreateDirectoryA with default security: true when the folder was made.
bool make_directory(const char* path);

// DeleteFileA: true when the file was deleted.
bool delete_file(const char* path);

// timeGetTime: milliseconds since start-up, wrapping at 2^32.
uint32_t milliseconds();

// Sleep.
void sleep_milliseconds(uint32_t ms);

// GetModuleFileNameA + PathRemoveFileSpecA: the running program's folder, no
// trailing separator except on a root.
std::string program_directory();

// Whether the console shows text in UTF-8 (the POSIX locale's character set);
// false means the system's own code page bytes are printed as they are.
bool console_is_utf8();

}  // namespace platform
