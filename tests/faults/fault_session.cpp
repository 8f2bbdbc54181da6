#include "fault_session.h"

#include <fstream>

#include "files.h"
#include "test_images.h"

namespace faults {

std::vector<uint8_t> nrom_image() { return devsim_test::make_ines(0, 32, 8); }

std::vector<uint8_t> nrom_memory() {
    std::vector<uint8_t> memory = devsim_test::chr_bytes(0, 0x2000);
    memory.resize(0x8000, 0xFF);
    const std::vector<uint8_t> prg = devsim_test::prg_bytes(0, 0x8000);
    memory.insert(memory.end(), prg.begin(), prg.end());
    return memory;
}

std::vector<uint8_t> memory_slice(uint32_t address, uint32_t length) {
    static const std::vector<uint8_t> memory = nrom_memory();
    return std::vector<uint8_t>(memory.begin() + address, memory.begin() + address + length);
}

std::string command_output(const std::string& out) {
    // The help text ends with an empty line; the first prompt follows it.
    const size_t end = out.find("\n\n");
    return end == std::string::npos ? out : out.substr(end + 2);
}

ProgramResult run_on(const devsim_test::DevsimMount& mount, const std::string& input) {
    return linux_program()->run({{'E', mount.mountpoint()}}, input, mount.work());
}

std::future<ProgramResult> start_on(const devsim_test::DevsimMount& mount, const std::string& input) {
    const std::string drive = mount.mountpoint();
    const std::string work = mount.work();
    return std::async(std::launch::async, [drive, work, input] {
        return linux_program()->run({{'E', drive}}, input, work);
    });
}

std::vector<std::string> file_lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

std::string work_text(const devsim_test::DevsimMount& mount, const std::string& name) {
    const std::string path = mount.work() + "/" + name;
    return file_exists(path) ? read_file(path) : "(none)";
}

}  // namespace faults
