#include "script_registry.h"

#include "script_functions.h"
#include "script_state.h"

namespace {

struct ScriptFunction {
    const char* name;
    lua_CFunction operation;
};

// The Ppu and Cpu names of a pair share one operation: no memory-space
// switch is involved, the slots alone decide what a call reaches.
constexpr ScriptFunction kScriptFunctions[] = {
    {"fd_CheckVROM", fd::check_video_rom},
    {"fd_CheckSRAM", fd::check_ram},
    {"fd_CheckMirror", fd::check_mirroring},
    {"fd_Sleep", fd::sleep},
    {"fd_SetCpuMode", fd::set_cpu_mode},
    {"fd_PpuReadInt", fd::read_byte},
    {"fd_PpuReadAscii", fd::read_block},
    {"fd_PpuWriteInt", fd::write_byte},
    {"fd_PpuWriteAscii", fd::write_block},
    {"fd_CpuReadInt", fd::read_byte},
    {"fd_CpuReadAscii", fd::read_block},
    {"fd_CpuWriteInt", fd::write_byte},
    {"fd_CpuWriteAscii", fd::write_block},
    {"fd_WriteFile", fd::write_file},
    {"fd_ReadFile", fd::read_file},
    {"fd_WriteDir", fd::make_folder},
    {"fd_DelFile", fd::delete_file},
    {"fd_GetNesHead", fd::nes_header},
    {"fd_ExistFile", fd::file_exists},
    {"fd_CmdPrintf", fd::console_print},
    {"fd_GetPath", fd::program_folder},
    {"fd_GetTime", fd::clock_milliseconds},
    {"fd_VerInfo", fd::version_info},
    {"fd_ROL", fd::shift_left},
    {"fd_ROR", fd::shift_right},
    {"fd_OR", fd::bit_or},
    {"fd_XOR", fd::bit_xor},
    {"fd_AND", fd::bit_and},
};

static_assert(sizeof kScriptFunctions / sizeof kScriptFunctions[0] == 28,
              "every fd_ global has its row");

}  // namespace

void register_script_functions() {
    for (const ScriptFunction& row : kScriptFunctions) {
        lua_pushcclosure(script_state, row.operation, 0);
        lua_setfield(script_state, LUA_GLOBALSINDEX, row.name);
    }
}
