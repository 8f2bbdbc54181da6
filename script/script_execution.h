#pragma once

// Loads and runs the file as a chunk on the state in script_state. A load or
// run failure prints the script error message with the engine's error text.
// Returns 0 when the chunk ran to its end, 1 otherwise.
int execute_script_file(const char* file_name);
