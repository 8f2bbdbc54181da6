#pragma once
#include <lua.hpp>

// Gives require the program's own module search: the current folder, then
// the program's folder and its lua folder, with LUA_PATH and LUA_CPATH
// replacing these defaults when set (";;" standing for the default). "!" in
// a path stands for the program's folder. Call after the libraries are open.
void set_module_search(lua_State* L);
