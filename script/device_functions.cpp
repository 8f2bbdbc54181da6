// Cartridge memory for scripts. Every access goes through the device slots,
// so these functions never learn the model or whether one is selected.

#include <cstring>

#include "crc32.h"
#include "device_slots.h"
#include "hex_codec.h"
#include "script_buffers.h"
#include "script_functions.h"
#include "script_integer.h"

namespace {

constexpr uint8_t kRamTestPattern[10] = {0x03, 0x05, 0x07, 0x09, 0x00,
                                         0x01, 0x08, 0x02, 0x03, 0x04};
constexpr int32_t kVideoRomProbe = 0x0000;
constexpr int32_t kRamProbe = 0x6000;

// Writes the pattern at address and reads it back; the memory is left
// holding the pattern where it is writable.
bool keeps_test_pattern(int32_t address) {
    uint8_t read_back[sizeof kRamTestPattern] = {};
    write_memory(address, kRamTestPattern, sizeof kRamTestPattern);
    read_memory(address, read_back, sizeof read_back);
    return std::memcmp(read_back, kRamTestPattern, sizeof read_back) == 0;
}

}  // namespace

namespace fd {

int check_video_rom(lua_State* L) {
    push_script_integer(L, keeps_test_pattern(kVideoRomProbe) ? 0 : 1);
    return 1;
}

int check_ram(lua_State* L) {
    push_script_integer(L, keeps_test_pattern(kRamProbe) ? 1 : 0);
    return 1;
}

int check_mirroring(lua_State* L) {
    push_script_integer(L, 0);
    return 1;
}

int set_cpu_mode(lua_State* L) {
    check_script_integer(L, 1);
    return 0;
}

int read_byte(lua_State* L) {
    const int32_t address = check_script_integer(L, 1);
    // A read that delivers nothing leaves the cell as it is: it reads 0.
    uint8_t cell = 0;
    read_memory(address, &cell, 1);
    push_script_integer(L, cell);
    return 1;
}

int read_block(lua_State* L) {
    const int32_t address = check_script_integer(L, 1);
    const int32_t length = check_script_integer(L, 2);
    luaL_argcheck(L, length >= 0 && static_cast<uint32_t>(length) <= kScriptDataBufferSize, 2,
                  "length out of range");
    int32_t count = read_memory(address, ScriptDataBuffer, static_cast<uint32_t>(length));
    // A failed read (-1) is the empty block, and so is anything the slot
    // could not have placed.
    if (count < 0 || count > length) count = 0;
    const uint32_t crc = crc32(ScriptDataBuffer, static_cast<size_t>(count));
    const uint32_t text_length = encode_script_text(ScriptDataBuffer, static_cast<uint32_t>(count));
    push_script_integer(L, static_cast<int32_t>(crc));
    lua_pushlstring(L, ScriptTextBuffer, text_length);
    return 2;
}

int write_byte(lua_State* L) {
    const int32_t address = check_script_integer(L, 1);
    const int32_t value = check_script_integer(L, 2);
    const uint8_t cell = static_cast<uint8_t>(value);
    write_memory(address, &cell, 1);
    return 0;
}

int write_block(lua_State* L) {
    const int32_t address = check_script_integer(L, 1);
    const char* text = luaL_checklstring(L, 2, nullptr);
    uint32_t count = kScriptDataBufferSize;
    hex_decode(text, ScriptDataBuffer, &count);
    write_memory(address, ScriptDataBuffer, count);
    return 0;
}

}  // namespace fd
