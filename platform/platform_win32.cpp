// Win32 implementation of the operating-system layer: each operation is the
// call sequence named beside its declaration, nothing more.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <mmsystem.h>
#include <shlwapi.h>

#include <vector>

#include "platform.h"

namespace platform {
namespace {

// Closes the handle on every way out of a file operation.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (is_open()) ::CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool is_open() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

DWORD share_mode(Sharing sharing) {
    return sharing == Sharing::shared ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
}

// A count the interface reports as int32_t; ReadFile and WriteFile never
// report more than they were asked for, and callers ask for less than 2 GiB.
int32_t as_count(DWORD count) { return static_cast<int32_t>(count); }

}  // namespace

uint32_t logical_drives() { return ::GetLogicalDrives(); }

DriveType drive_type(char letter) {
    const char root[3] = {letter, ':', '\0'};
    return static_cast<DriveType>(::GetDriveTypeA(root));
}

int32_t read_unbuffered(const char* path, int32_t offset, void* buffer, uint32_t length) {
    FileHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr));
    if (!file.is_open()) return -1;
    // A refused seek would otherwise read the start of the file and hand it
    // over as the memory at the address asked for.
    if (::SetFilePointer(file.get(), offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return -1;
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, length, &read, nullptr)) return -1;
    return as_count(read);
}

int32_t write_command_file(const char* path, const void* data, uint32_t length) {
    FileHandle file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file.is_open()) return 0;
    DWORD written = 0;
    if (!::WriteFile(file.get(), data, length, &written, nullptr)) return -1;
    return as_count(written);
}

int32_t read_host_file(const char* path, int32_t offset, void* buffer, uint32_t length,
                       Sharing sharing) {
    // Scripts open their files with the archive attribute, the console with
    // none; neither matters to an existing file, but both are kept as asked.
    const DWORD attributes =
        sharing == Sharing::exclusive ? FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_NORMAL;
    FileHandle file(::CreateFileA(path, GENERIC_READ, share_mode(sharing), nullptr, OPEN_EXISTING,
                                  attributes, nullptr));
    if (!file.is_open()) return -1;
    // A refused seek (a negative offset) leaves the position at the start.
    ::SetFilePointer(file.get(), offset, nullptr, FILE_BEGIN);
    DWORD read = 0;
    if (!::ReadFile(file.get(), buffer, length, &read, nullptr)) return 0;
    return as_count(read);
}

int32_t create_host_file(const char* path, const void* data, uint32_t length) {
    FileHandle file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.is_open()) return 0;
    DWORD written = 0;
    if (!::WriteFile(file.get(), data, length, &written, nullptr) || written != length) return -1;
    return as_count(written);
}

int32_t append_host_file(const char* path, const void* data, uint32_t length) {
    FileHandle file(::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!file.is_open()) return -1;
    ::SetFilePointer(file.get(), 0, nullptr, FILE_END);
    DWORD written = 0;
    if (!::WriteFile(file.get(), data, length, &written, nullptr)) return 0;
    return as_count(written);
}

bool path_exists(const char* path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool make_directory(const char* path) { return ::CreateDirectoryA(path, nullptr) != 0; }

bool delete_file(const char* path) { return ::DeleteFileA(path) != 0; }

uint32_t milliseconds() { return ::timeGetTime(); }

void sleep_milliseconds(uint32_t ms) { ::Sleep(ms); }

std::string program_directory() {
    // MAX_PATH holds every ordinary path; a longer one is fetched whole rather
    // than cut, since a cut name would point at some other folder.
    std::vector<char> name(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(name.size());
        const DWORD n = ::GetModuleFileNameA(nullptr, name.data(), size);
        if (n == 0) return ".";
        if (n < size) break;
        if (size >= 32768) return ".";
        name.resize(name.size() * 2);
    }
    ::PathRemoveFileSpecA(name.data());
    return std::string(name.data(), static_cast<size_t>(::lstrlenA(name.data())));
}

bool console_is_utf8() { return false; }

}  // namespace platform
