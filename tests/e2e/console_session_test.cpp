// The console driven as a user drives it: lines on standard input, dumper
// drives made of temporary folders, standard output, the command file and
// host files compared byte for byte. Every case runs against every program
// this build made (the Linux one, and the Windows one under Wine where
// present).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "caldrin_runner.h"
#include "device_drive.h"
#include "files.h"
#include "session_checks.h"
#include "temp_dir.h"

namespace {

constexpr uint32_t kImageSize = 0x11000;

enum class Drive { famicom, pc_engine, unknown_record, record_ends_at_12, no_identification, missing_image };

struct DriveSpec {
    char letter;
    Drive kind;
    const char* type = "removable";
};

struct SessionCase {
    const char* name;
    std::vector<DriveSpec> drives;
    std::string input;
    std::string expected_output;
    std::optional<std::string> command_file = std::nullopt;  // on the first drive; nullopt: not checked
    std::vector<HostFile> files_before = {};                  // in the working folder
    std::vector<HostFile> files_after = {};
};

const std::string kWriteUsage =
    "invalid parameter\n"
    "\nWrite data to cartridge\n\nw address [[value]|[length filename]]\n"
    "   address: address to write\n"
    "   value:   value to write\n"
    "   length:  specify the data length of write\n"
    "   filename:specify the data source filename\n\n";

std::string session(const std::string& start, const std::vector<std::string>& outputs) {
    return session_output(start, outputs);
}

std::string dump(uint32_t address, uint32_t length) {
    const std::string image = pattern_image(kImageSize);
    const bool wide = address >= 0x10000;
    std::string out;
    char text[32];
    for (uint32_t i = 0; i < length; ++i) {
        if (i % 16 == 0) {
            std::snprintf(text, sizeof text, wide ? "%06x: " : "%04x: ", address + i);
            out += text;
        }
        std::snprintf(text, sizeof text, "%02x ", static_cast<unsigned char>(image[address + i]));
        out += text;
        if (i % 16 == 15) out += "\n";
    }
    if (length % 16 != 0) out += "\n";
    return out;
}

std::string image_bytes(uint32_t address, uint32_t length) {
    return pattern_image(kImageSize).substr(address, length);
}

std::string sectors(std::string (*encode)(uint32_t, uint8_t), uint32_t address, const std::string& data) {
    std::string out;
    for (size_t i = 0; i < data.size(); ++i)
        out += encode(address + static_cast<uint32_t>(i), static_cast<uint8_t>(data[i]));
    return out;
}

const std::vector<DriveSpec> kFamicomOnE = {{'E', Drive::famicom}};

std::vector<SessionCase> session_cases() {
    const std::string file_data = pattern_image(0x40).substr(0x10, 3);
    return {
        {"StartUpSelectsAndInitialises", kFamicomOnE, "q\n", session(kFamicomInit, {}),
         famicom_init_sector()},
        {"PcEngineStartUp", {{'E', Drive::pc_engine}}, "q\n", session(kPcEngineInit, {}),
         pc_engine_init_sector()},
        {"NoDeviceIsSilentAtStart", {}, "q\n", session("", {})},
        {"HelpAndIgnoredWords", kFamicomOnE,
         "h\n?\n\n \t \nhelp\nquit\nHELP me\ndd\nini\ndox\na\na 8000\nq now\nd\n",
         session(kFamicomInit, {kHelpText, kHelpText, "", "", "invalid command\n", "invalid command\n",
                                "invalid command\n", "invalid command\n", "invalid command\n",
                                "invalid command\n", "", ""})},
        {"EndOfInputEndsLikeQuit", kFamicomOnE, "d 0 1", session(kFamicomInit, {dump(0, 1)})},
        {"InitForms", {{'E', Drive::famicom}, {'F', Drive::pc_engine}},
         "init\nINIT F:\ninit g\ninitialize\ninit e x y z\nlist all\nlisten\n",
         session(kFamicomInit, {kFamicomInit, kPcEngineInit, "init error,not find dump device\n",
                                kFamicomInit, kFamicomInit,
                                "Find E: NV4_PCB02_FW0102\nFind F: HX8_PCB02_FW0102\n",
                                "Find E: NV4_PCB02_FW0102\nFind F: HX8_PCB02_FW0102\n"}),
         famicom_init_sector()},
        {"InitWithLowerCaseLetterNamesLowerCaseFiles", kFamicomOnE, "init e\nw 8000 5a\n",
         session(kFamicomInit, {kFamicomInit, "write 5A to 8000\n"}), famicom_write_sector(0x8000, 0x5A)},
        {"DoWordCount", kFamicomOnE, "do\ndo a.lua b\nDO\n",
         session(kFamicomInit, {"invalid parameter\n", "invalid parameter\n", "invalid parameter\n"})},
        {"ScanStopsAtFirstDumperDrive",
         {{'E', Drive::famicom}, {'D', Drive::unknown_record}, {'B', Drive::no_identification}},
         "d 0 1\ninit e\nd 0 1\ninit d\nd 0 1\nlist\n",
         session("", {kNotInitialised, kFamicomInit, dump(0, 1), "init error,not find dump device\n",
                      kNotInitialised, "Find D: SOMETHING_ELSE_1\nFind E: NV4_PCB02_FW0102\n"})},
        {"OnlyRemovableDrivesCount",
         {{'D', Drive::famicom, "fixed"}, {'E', Drive::famicom, "cdrom"}, {'F', Drive::famicom, "remote"},
          {'G', Drive::famicom, "ramdisk"}, {'H', Drive::pc_engine}},
         "init d\ninit e\nlist\n",
         session(kPcEngineInit, {"init error,not find dump device\n", "init error,not find dump device\n",
                                 "Find H: HX8_PCB02_FW0102\n"})},
        {"FailedSelectionKeepsTheDevice", kFamicomOnE, "init z\nw 1 2\n",
         session(kFamicomInit, {"init error,not find dump device\n", "write 02 to 0001\n"}),
         famicom_write_sector(1, 2)},
        {"RecordPrintsUpToItsFirstZero", {{'E', Drive::record_ends_at_12}}, "list\n",
         session("Init NV4_PCB02_FW OK\n", {"Find E: NV4_PCB02_FW\n"})},
        {"DumpForms", kFamicomOnE, "d\nd 8000\nd 8008 20\nd fff0 20\nd 10000 10\nd 0 11\nd 0 0\nD 0X10 2\n",
         session(kFamicomInit, {dump(0, 0x100), dump(0x8000, 0x100), dump(0x8008, 0x20),
                                dump(0xFFF0, 0x20),
                                dump(0x10000, 0x10), dump(0, 0x11), "", dump(0x10, 2)})},
        {"DumpEndsWhereTheImageEnds", kFamicomOnE, "d 10ff8 20\nd 11000 10\nd -200 10\n",
         session(kFamicomInit, {dump(0x10FF8, 8), "", "dump error,read device failed\n"})},
        {"DumpWithoutDeviceShowsNothingStale", {}, "d\nd 0 10 x.bin\n",
         session("", {kNotInitialised, kNotInitialised + "dump error,nothing read,file(x.bin) not written\n"}),
         std::nullopt, {}, {{"x.bin", std::nullopt}}},
        {"DumpReadFailure", {{'E', Drive::missing_image}}, "d\nd 0 10 x.bin\n",
         session(kFamicomInit, {"dump error,read device failed\n", "dump error,read device failed\n"}),
         std::nullopt, {{"x.bin", std::string("keep")}}, {{"x.bin", std::string("keep")}}},
        {"DumpSaves", kFamicomOnE,
         "d 8000 4000 prg.bin\nd 0 100 OUT.BIN\nd 0 0 empty.bin\nd 10f00 200 tail.bin\n"
         "d 11000 10 keep.bin\nd 0 -1 all.bin\n",
         session(kFamicomInit, {"write 4000(crc:%PRG%) bytes to file(prg.bin)\n",
                                "write 0100(crc:%OUT%) bytes to file(out.bin)\n",
                                "write 0000(crc:00000000) bytes to file(empty.bin)\n",
                                "write 0100(crc:%TAIL%) bytes to file(tail.bin)\n",
                                "dump error,nothing read,file(keep.bin) not written\n",
                                "write 10000(crc:%ALL%) bytes to file(all.bin)\n"}),
         std::nullopt, {{"keep.bin", std::string("old")}},
         {{"prg.bin", image_bytes(0x8000, 0x4000)}, {"out.bin", image_bytes(0, 0x100)},
          {"empty.bin", std::string()}, {"tail.bin", image_bytes(0x10F00, 0x100)},
          {"keep.bin", std::string("old")}, {"all.bin", image_bytes(0, 0x10000)}}},
        {"DumpToUncreatableFile", kFamicomOnE, "d 0 10 no-such-folder/x.bin\n",
         session(kFamicomInit, {"write 0000(crc:00000000) bytes to file(no-such-folder/x.bin)\n"})},
        {"WriteByte", kFamicomOnE, "w 8000 1ff\nw 7 5\nw 0 -1\n",
         session(kFamicomInit, {"write FF to 8000\n", "write 05 to 0007\n", "write FF to 0000\n"}),
         famicom_write_sector(0, 0xFF)},
        {"WriteByteToPcEngine", {{'E', Drive::pc_engine}}, "w 12345 a5\n",
         session(kPcEngineInit, {"write A5 to 12345\n"}), pc_engine_write_sector(0x12345, 0xA5)},
        {"WriteUsage", kFamicomOnE, "w\nw 8000\n", session(kFamicomInit, {kWriteUsage, kWriteUsage}),
         famicom_init_sector()},
        {"WriteFiles", kFamicomOnE, "w 8000 3 data.bin\n",
         session(kFamicomInit, {"write 0003 bytes to cartridge to 8000 from data.bin\n"}),
         sectors(famicom_write_sector, 0x8000, file_data), {{"data.bin", pattern_image(0x40).substr(0x10, 8)}}},
        {"WriteShortAndMissingFiles", kFamicomOnE, "w fffe 10 Short.bin\nw 8000 4000 missing.bin\n",
         session(kFamicomInit, {"write 0003 bytes to cartridge to FFFE from short.bin\n",
                                "write 0000 bytes to cartridge to 8000 from missing.bin\n"}),
         std::string(), {{"short.bin", file_data}}},
        {"WriteWithoutDevice", {}, "w 8000 1\nw 0 10 data.bin\n",
         session("", {"write 01 to 8000\n" + kNotInitialised,
                      "write 0003 bytes to cartridge to 0000 from data.bin\n" + kNotInitialised}),
         std::nullopt, {{"data.bin", file_data}}},
        {"OverlongLinesAndWordsRunNothing", kFamicomOnE,
         "d 0 1 " + std::string(1100, 'x') + " d 0 2\nd 0 10 " + std::string(260, 'y') + "\nd 0 1\n" +
             "d 0 1 " + std::string(1017, 'z') + "\n",
         session(kFamicomInit, {"invalid command,line too long\n", "invalid command,word too long\n",
                                dump(0, 1), "invalid command,word too long\n"})},
    };
}

// Placeholders for CRCs the test computes instead of spelling out.
std::string fill_crcs(std::string text) {
    const struct {
        const char* name;
        uint32_t address, length;
    } crcs[] = {{"%PRG%", 0x8000, 0x4000}, {"%OUT%", 0, 0x100}, {"%TAIL%", 0x10F00, 0x100}, {"%ALL%", 0, 0x10000}};
    for (const auto& c : crcs) {
        const size_t at = text.find(c.name);
        if (at == std::string::npos) continue;
        const uint32_t crc = crc32_bitwise(image_bytes(c.address, c.length));
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08X", crc);
        text.replace(at, std::strlen(c.name), digits);
    }
    return text;
}

void make_drive(const TempDir& folder, Drive kind) {
    switch (kind) {
    case Drive::famicom: make_device_drive(folder.path(), kFamicomRecord, kImageSize); break;
    case Drive::pc_engine: make_device_drive(folder.path(), kPcEngineRecord, kImageSize); break;
    case Drive::unknown_record: make_device_drive(folder.path(), "SOMETHING_ELSE_1", kImageSize); break;
    case Drive::record_ends_at_12:
        make_device_drive(folder.path(), std::string("NV4_PCB02_FW\0abc", 16), kImageSize);
        break;
    case Drive::no_identification: write_file(folder.file("DUMP.ROM"), pattern_image(kImageSize)); break;
    case Drive::missing_image: write_identification(folder.path(), kFamicomRecord); break;
    }
}

struct RunnerCase {
    std::shared_ptr<CaldrinRunner> runner;
    SessionCase session;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const RunnerCase& c, std::ostream* out) { *out << c.runner->name() << "_" << c.session.name; }

class ConsoleSession : public ::testing::TestWithParam<RunnerCase> {};

TEST_P(ConsoleSession, MatchesByteForByte) {
    const auto& [runner, c] = GetParam();
    TempDir work;
    std::vector<std::unique_ptr<TempDir>> folders;
    std::vector<DriveFolder> drives;
    for (const DriveSpec& wanted : c.drives) {
        folders.push_back(std::make_unique<TempDir>());
        make_drive(*folders.back(), wanted.kind);
        drives.push_back({wanted.letter, folders.back()->path(), wanted.type});
    }
    for (const HostFile& f : c.files_before) write_file(work.file(f.name), *f.content);

    const ProgramResult result = runner->run(drives, c.input, work.path());
    expect_session(*runner, result, fill_crcs(c.expected_output),
                   drives.empty() ? "" : drives.front().path + "/CMD.CMD", c.command_file, work.path(),
                   c.files_after);
}

std::vector<RunnerCase> all_cases() {
    std::vector<RunnerCase> cases;
    for (const auto& runner : available_runners())
        for (const SessionCase& c : session_cases()) cases.push_back({runner, c});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Console, ConsoleSession, ::testing::ValuesIn(all_cases()),
                         [](const ::testing::TestParamInfo<RunnerCase>& info) {
                             return info.param.runner->name() + "_" + info.param.session.name;
                         });

TEST(ConsoleStart, MalformedDriveEntryIsReportedOnceAndIgnored) {
    TempDir drive;
    make_device_drive(drive.path(), kFamicomRecord, kImageSize);
    const ProgramResult result = run_program({CALDRIN_PROGRAM}, "init\nq\n",
                                             {{"CALDRIN_DRIVES", "bogus;E=" + drive.path()}});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "CALDRIN_DRIVES entry \"bogus\" ignored: missing '=' (expected X=PATH or X:TYPE=PATH)\n");
    EXPECT_EQ(without_build_date(result.out), session(kFamicomInit, {kFamicomInit}));
}

TEST(ConsoleStart, HelpDateIsTheBuildDateEveryTime) {
    const ProgramResult result = run_program({CALDRIN_PROGRAM}, "h\n", {{"CALDRIN_DRIVES", ""}});
    const std::string marker = "(build:";
    const size_t first = result.out.find(marker);
    ASSERT_NE(first, std::string::npos);
    const std::string date = result.out.substr(first + marker.size(), 11);
    EXPECT_EQ(result.out.substr(first + marker.size() + 11, 1), ")");
    EXPECT_NE(std::string("JanFebMarAprMayJunJulAugSepOctNovDec").find(date.substr(0, 3)), std::string::npos);
    EXPECT_NE(result.out.find(marker + date, first + 1), std::string::npos);
}

}  // namespace
