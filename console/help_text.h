#pragma once

// Prints the banner that is also the help text, with the build date.
void print_help_text();
