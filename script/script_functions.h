#pragma once
// The host operations behind the fd_ globals. Each checks all its arguments
// before it acts, so an argument error never leaves half an operation done.

#include <lua.hpp>

namespace fd {

// Cartridge memory, through the device slots.
int check_video_rom(lua_State* L);
int check_ram(lua_State* L);
int check_mirroring(lua_State* L);
int set_cpu_mode(lua_State* L);
int read_byte(lua_State* L);
int read_block(lua_State* L);
int write_byte(lua_State* L);
int write_block(lua_State* L);

// Host files and folders.
int write_file(lua_State* L);
int read_file(lua_State* L);
int make_folder(lua_State* L);
int delete_file(lua_State* L);
int file_exists(lua_State* L);

int nes_header(lua_State* L);

// Console, clock and pause.
int console_print(lua_State* L);
int version_info(lua_State* L);
int program_folder(lua_State* L);
int clock_milliseconds(lua_State* L);
int sleep(lua_State* L);

// 32-bit bit operations.
int bit_and(lua_State* L);
int bit_or(lua_State* L);
int bit_xor(lua_State* L);
int shift_left(lua_State* L);
int shift_right(lua_State* L);

}  // namespace fd
