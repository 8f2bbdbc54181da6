#include "session_checks.h"

#include <gtest/gtest.h>

#include "files.h"

const std::string kFamicomInit = "Init NV4_PCB02_FW0102 OK\n";
const std::string kPcEngineInit = "Init HX8_PCB02_FW0102 OK\n";
const std::string kNotInitialised = "please init device first\nget more infomation,type h[enter].\n";

std::string session_output(const std::string& start, const std::vector<std::string>& outputs) {
    std::string out = start + kHelpText + "-";
    for (const std::string& o : outputs) out += o + "-";
    return out;
}

void expect_session(const CaldrinRunner& runner, const ProgramResult& result,
                    const std::string& expected_output, const std::string& command_file_path,
                    const std::optional<std::string>& command_file, const std::string& work_folder,
                    const std::vector<HostFile>& files_after) {
    ASSERT_FALSE(result.timed_out);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(without_build_date(runner.normalise(result.out)), expected_output);
    if (command_file) {
        const std::string sent = read_file(command_file_path);
        EXPECT_EQ(sent.size(), command_file->size());
        EXPECT_TRUE(sent == *command_file) << "command file differs";
    }
    for (const HostFile& f : files_after) {
        const std::string path = work_folder + "/" + f.name;
        if (!f.content) {
            EXPECT_FALSE(file_exists(path)) << f.name;
            continue;
        }
        ASSERT_TRUE(file_exists(path)) << f.name;
        const std::string content = read_file(path);
        EXPECT_EQ(content.size(), f.content->size()) << f.name;
        EXPECT_TRUE(content == *f.content) << f.name << " differs";
    }
}

uint32_t crc32_bitwise(const std::string& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : data) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}
