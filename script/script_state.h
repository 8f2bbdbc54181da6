#pragma once
#include <lua.hpp>

// The engine state of the script that is running; null between runs. Only
// the runner's steps use it: the script functions get their state from the
// engine with every call.
extern lua_State* script_state;
