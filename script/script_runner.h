#pragma once

// Runs one script file in a fresh engine state with the fd_ functions.
// Returns 0 when it ran to its end, 1 when it could not be loaded or failed.
int run_script(const char* file_name);
