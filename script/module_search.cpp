#include "module_search.h"

#include <cstdlib>
#include <string>

#include "platform.h"

namespace {

#ifdef _WIN32
constexpr bool kEngineSearchesProgramFolder = true;
#else
constexpr bool kEngineSearchesProgramFolder = false;
#endif

const char kPathDefault[] = "./?.lua;!/lua/?.lua;!/lua/?/init.lua;!/?.lua;!/?/init.lua";
const char kCPathDefault[] = "./?.so;!/?.so;!/loadall.so";

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

void set_search_path(lua_State* L, const char* field, const char* variable, const char* fallback,
                     const std::string& program_folder) {
    const char* setting = std::getenv(variable);
    std::string path = fallback;
    if (setting != nullptr)
        path = replace_all(replace_all(setting, ";;", ";\1;"), "\1", fallback);
    path = replace_all(path, "!", program_folder);
    lua_getfield(L, LUA_GLOBALSINDEX, "package");
    lua_pushlstring(L, path.data(), path.size());
    lua_setfield(L, -2, field);
    lua_pop(L, 1);
}

}  // namespace

void set_module_search(lua_State* L) {
    // The Windows engine is built with this search already.
    if (kEngineSearchesProgramFolder) return;
    const std::string program_folder = platform::program_directory();
    set_search_path(L, "path", "LUA_PATH", kPathDefault, program_folder);
    set_search_path(L, "cpath", "LUA_CPATH", kCPathDefault, program_folder);
}
