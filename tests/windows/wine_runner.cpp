// The Windows program under Wine, as a runner for the end-to-end tables.

#include <exception>

#include "caldrin_runner.h"
#include "files.h"
#include "wine_prefix.h"

namespace {

class WineRunner : public CaldrinRunner {
public:
    WineRunner(std::string program, std::string prefix) : program_(std::move(program)), prefix_(std::move(prefix)) {}

    std::string name() const override { return "wine"; }

    ProgramResult run(const std::vector<DriveFolder>& drives, const std::string& input,
                      const std::string& cwd) override {
        ProgramResult result;
        if (!file_exists(program_)) {
            result.err = program_ + " is missing: build the Windows program first (make windows)\n";
            return result;
        }
        try {
            prefix_.acquire(drives);
        } catch (const std::exception& e) {
            prefix_.release();
            result.err = std::string("Wine prefix not ready: ") + e.what() + "\n";
            return result;
        }
        result = run_program({"wine", program_}, input, prefix_.environment(), prefix_.unset(), cwd);
        prefix_.release();
        return result;
    }

    // The C runtime writes every "\n" of text-mode output as "\r\n"; that
    // "\r" is taken away again, so "\r\n" the program printed itself comes
    // back as "\r\n". A "\n" without it is left alone and shows up in the
    // comparison.
    std::string normalise(const std::string& out) const override {
        std::string text;
        text.reserve(out.size());
        for (size_t i = 0; i < out.size(); ++i) {
            if (out[i] == '\r' && i + 1 < out.size() && out[i + 1] == '\n') continue;
            text += out[i];
        }
        return text;
    }

private:
    std::string program_;
    WinePrefix prefix_;
};

}  // namespace

void add_windows_runners(std::vector<std::shared_ptr<CaldrinRunner>>& runners) {
    runners.push_back(std::make_shared<WineRunner>(CALDRIN_WINDOWS_PROGRAM, CALDRIN_WINE_PREFIX));
}
