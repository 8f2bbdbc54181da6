#pragma once
#include <map>
#include <string>
#include <vector>

struct ProgramResult {
    std::string out;
    std::string err;
    int status = -1;        // exit status, or -1 when killed or not started
    bool timed_out = false;
};

// Runs a program with the text on its standard input and collects both output
// streams. env entries are added to (or, with an empty value, kept in) the
// inherited environment; unset lists variables to remove.
ProgramResult run_program(const std::vector<std::string>& argv, const std::string& input,
                          const std::map<std::string, std::string>& env = {},
                          const std::vector<std::string>& unset = {},
                          const std::string& cwd = "", int timeout_seconds = 60);
