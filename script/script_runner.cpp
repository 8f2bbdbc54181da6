#include "script_runner.h"

#include "module_search.h"
#include "script_execution.h"
#include "script_registry.h"
#include "script_state.h"

lua_State* script_state = nullptr;

int run_script(const char* file_name) {
    script_state = luaL_newstate();
    if (script_state == nullptr) return 1;
    luaL_openlibs(script_state);
    set_module_search(script_state);
    register_script_functions();
    const int result = execute_script_file(file_name);
    // Closing releases all the script held: its open files, its modules and
    // its globals, none of which the next run may see.
    lua_close(script_state);
    script_state = nullptr;
    return result;
}
