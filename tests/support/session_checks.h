#pragma once
// What a user sees of a session, and the checks every end-to-end table makes
// of it: standard output, the command file and host files, byte for byte.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "caldrin_runner.h"

extern const std::string kFamicomInit;     // start-up line of the fixture records
extern const std::string kPcEngineInit;
extern const std::string kNotInitialised;  // the two lines of a device call without a device

struct HostFile {
    std::string name;
    std::optional<std::string> content;  // nullopt: must not exist
};

// Standard output of a session: the start-up line, the help text, then each
// command's output after its prompt, then the prompt that the end of the
// input or "q" answers.
std::string session_output(const std::string& start, const std::vector<std::string>& outputs);

// Checks a finished run: status 0, nothing on standard error, the output
// (line ends and build date set aside), the command file when one is
// expected, and the host files in the working folder.
void expect_session(const CaldrinRunner& runner, const ProgramResult& result,
                    const std::string& expected_output, const std::string& command_file_path,
                    const std::optional<std::string>& command_file, const std::string& work_folder,
                    const std::vector<HostFile>& files_after);

// CRC-32 worked out bit by bit, independent of the program's table.
uint32_t crc32_bitwise(const std::string& data);
