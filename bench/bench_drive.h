#pragma once
// A dumper drive made of a folder in memory (/dev/shm when there is one), so
// the benchmarks that send command sectors time the program, not a disk.

#include <string>

// Selects the drive as E: on first use and keeps it for the whole run; the
// folder is removed at exit.
const std::string& bench_drive_folder();
