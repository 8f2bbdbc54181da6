#include "help_text.h"

#include <cstdio>

#include "build_info.h"

namespace {

const char kHelpText[] =
    "Caldrin dump cmd client for Windows by olvane(build:%s)\n"
    "Command:\n"
    "[H|h|?]               Show this help infomation\n"
    "w address value       Write data to cartridge\n"
    "w address length file Write data to cartridge from file\n"
    "d                     Dump data and show on screen\n"
    "d address             Dump data and show on screen\n"
    "d address length file Dump data to file\n"
    "a                     Disassembler data from reset\n"
    "a address             Disassembler data from address\n"
    "do filename           Execute lua script\n"
    "init [driver]         Set dump mode\n"
    "list                  List inserted dump devices\n"
    "q                     Exit this program\n"
    "\n";

}  // namespace

void print_help_text() { std::printf(kHelpText, build_date()); }
