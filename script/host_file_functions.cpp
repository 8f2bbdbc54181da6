// Host files and folders for scripts. Names go to the platform unchanged;
// failures are results, never script errors.

#include <cstring>

#include "hex_codec.h"
#include "platform.h"
#include "script_buffers.h"
#include "script_functions.h"
#include "script_integer.h"

namespace fd {

int write_file(lua_State* L) {
    const char* name = luaL_checklstring(L, 1, nullptr);
    const char* data = luaL_checklstring(L, 2, nullptr);
    const int32_t hex = check_script_integer(L, 3);
    const void* bytes = data;
    uint32_t count = static_cast<uint32_t>(std::strlen(data));
    if (hex != 0) {
        count = kScriptDataBufferSize;
        hex_decode(data, ScriptDataBuffer, &count);
        bytes = ScriptDataBuffer;
    }
    push_script_integer(L, platform::append_host_file(name, bytes, count));
    return 1;
}

int read_file(lua_State* L) {
    const char* name = luaL_checklstring(L, 1, nullptr);
    const int32_t offset = check_script_integer(L, 2);
    const int32_t length = check_script_integer(L, 3);
    luaL_argcheck(L, length >= 0 && static_cast<uint32_t>(length) <= kScriptDataBufferSize, 3,
                  "length out of range");
    int32_t count = platform::read_host_file(name, offset, ScriptDataBuffer,
                                             static_cast<uint32_t>(length),
                                             platform::Sharing::exclusive);
    if (count < 0) {
        push_script_integer(L, -1);
        lua_pushlstring(L, "", 0);
        return 2;
    }
    if (count > length) count = 0;
    const uint32_t text_length = encode_script_text(ScriptDataBuffer, static_cast<uint32_t>(count));
    push_script_integer(L, static_cast<int32_t>(text_length));
    lua_pushlstring(L, ScriptTextBuffer, text_length);
    return 2;
}

int make_folder(lua_State* L) {
    const char* name = luaL_checklstring(L, 1, nullptr);
    push_script_integer(L, platform::make_directory(name) ? 1 : 0);
    return 1;
}

int delete_file(lua_State* L) {
    const char* name = luaL_checklstring(L, 1, nullptr);
    push_script_integer(L, platform::delete_file(name) ? 1 : 0);
    return 1;
}

int file_exists(lua_State* L) {
    // Without a name there is nothing to test, and no answer.
    if (!lua_isstring(L, 1)) return 0;
    push_script_integer(L, platform::path_exists(lua_tostring(L, 1)) ? 1 : 0);
    return 1;
}

}  // namespace fd
