// The framing of command sectors as they reach the device's command file:
// 'Z' in byte 0, the CRC-16 of bytes 0 to 509 in bytes 510 and 511, high
// byte first, every other byte as given. The CRC is checked against a
// bit-by-bit one. A run that is not whole sectors sends nothing at all.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "command_sectors.h"
#include "reference_crcs.h"
#include "device_link.h"
#include "fuzz_check.h"
#include "fuzz_sandbox.h"

namespace {

FuzzSandbox* drive = nullptr;
const std::string kEarlierCommand = "an earlier command";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    drive = new FuzzSandbox("fuzz-sectors");
    write_fixture(drive->file("Q-DRIVER.DMP"), identification_file("HX8_PCB02_FW0102"));
    ::setenv("CALDRIN_DRIVES", ("E=" + drive->path()).c_str(), 1);
    silence_standard_streams();
    if (select_device('E') != 1) std::abort();
    std::atexit([] { delete drive; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // An even first byte asks for whole sectors only, so both kinds of run
    // come up often.
    size_t length = size - 1;
    if (data[0] % 2 == 0) length -= length % kCommandSectorSize;
    const std::vector<uint8_t> given(data + 1, data + 1 + length);
    // Exactly the run's size, so framing past its end is caught.
    std::vector<uint8_t> run(given);
    const std::string command_file = drive->file("CMD.CMD");
    write_fixture(command_file, kEarlierCommand);

    const int32_t sent = send_command_sectors(run.data(), static_cast<uint32_t>(length));
    if (length % kCommandSectorSize != 0) {
        require(sent == 0, "a partial sector is refused");
        require(run == given, "a refused run is left as it was");
        require(read_whole_file(command_file) == kEarlierCommand, "a refused run sends nothing");
        return 0;
    }
    require(sent == static_cast<int32_t>(length), "the whole run is sent");
    require(read_whole_file(command_file) == std::string(run.begin(), run.end()),
            "the command file holds the framed run");
    for (size_t at = 0; at < length; at += kCommandSectorSize) {
        const uint8_t* sector = run.data() + at;
        require(sector[0] == 'Z', "byte 0 is 'Z'");
        require(std::memcmp(sector + 1, given.data() + at + 1, 509) == 0, "bytes 1 to 509 are as given");
        const uint16_t crc = crc16_bitwise(sector, 510);
        require(sector[510] == (crc >> 8) && sector[511] == (crc & 0xFF), "bytes 510 and 511 hold the CRC");
    }
    return 0;
}
