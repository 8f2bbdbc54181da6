#pragma once
#include <cstdint>
#include <string>

// Whole-file helpers for test fixtures.
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
std::string bytes(std::initializer_list<int> values);
// Two digits a byte: lower case as the console's dumps, upper case as the
// text scripts receive.
std::string hex(const std::string& data);
std::string upper_hex(const std::string& data);
