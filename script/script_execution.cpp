#include "script_execution.h"

#include <cstdio>

#include "script_state.h"
#include "script_texts.h"

int execute_script_file(const char* file_name) {
    lua_State* L = script_state;
    int status = luaL_loadfile(L, file_name);
    // No message handler: the error value is reported as the script made it,
    // without a stack trace.
    if (status == 0) status = lua_pcall(L, 0, LUA_MULTRET, 0);
    if (status == 0) return 0;
    // A table or other value without text still gets the message.
    const char* text = lua_tolstring(L, -1, nullptr);
    std::printf(console_form(script_error_format), text != nullptr ? text : "(null)");
    lua_settop(L, -2);
    return 1;
}
