// The 16-byte header of an NES cartridge image, built from a dump's facts.

#include "script_buffers.h"
#include "script_functions.h"
#include "script_integer.h"

namespace fd {

int nes_header(lua_State* L) {
    const int32_t mapper = check_script_integer(L, 1);
    const int32_t four_screen = check_script_integer(L, 2);
    const int32_t battery = check_script_integer(L, 3);
    const int32_t mirroring = check_script_integer(L, 4);
    const int32_t vs_system = check_script_integer(L, 5);
    const int32_t prg_kb = check_script_integer(L, 6);
    const int32_t chr_kb = check_script_integer(L, 7);

    uint8_t header[16] = {0x4E, 0x45, 0x53, 0x1A};
    // Sizes count 16 KB and 8 KB units; the quotient is cut toward zero.
    header[4] = static_cast<uint8_t>(prg_kb / 16);
    header[5] = static_cast<uint8_t>(chr_kb / 8);
    header[6] = static_cast<uint8_t>(static_cast<uint32_t>(mapper) << 4);
    if (four_screen != 0) header[6] |= 0x08;
    if (battery != 0) header[6] |= 0x02;
    if (mirroring != 0) header[6] |= 0x01;
    header[7] = static_cast<uint8_t>(mapper & 0xF0);
    if (vs_system != 0) header[7] |= 0x01;

    lua_pushlstring(L, ScriptTextBuffer, encode_script_text(header, sizeof header));
    return 1;
}

}  // namespace fd
