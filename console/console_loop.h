#pragma once

// Prints the help text, then reads and runs one command line after each "-"
// prompt until "q" or the end of standard input. Returns 0.
int console_loop();
