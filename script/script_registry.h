#pragma once

// Binds the 28 fd_ globals on the state in script_state, in table order.
void register_script_functions();
