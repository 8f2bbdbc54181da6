#include "console_loop.h"

#include <cstdio>

#include "command_line.h"
#include "help_text.h"

namespace {

enum class LineRead { line, too_long, end_of_input };

// Reads one line without its line break. A line that does not fit the buffer
// is consumed to its end and refused whole, so its tail never runs as a
// command of its own.
LineRead read_command_line(char (&line)[kCommandLineSize]) {
    size_t length = 0;
    int c = std::getchar();
    if (c == EOF) return LineRead::end_of_input;
    while (c != EOF && c != '\n') {
        if (length == kCommandLineSize - 1) {
            while (c != EOF && c != '\n') c = std::getchar();
            return LineRead::too_long;
        }
        line[length++] = static_cast<char>(c);
        c = std::getchar();
    }
    line[length] = '\0';
    return LineRead::line;
}

}  // namespace

int console_loop() {
    static char line[kCommandLineSize];
    print_help_text();
    for (;;) {
        std::printf("-");
        std::fflush(stdout);
        const LineRead read = read_command_line(line);
        // The end of standard input ends the program as "q" does.
        if (read == LineRead::end_of_input) return 0;
        if (read == LineRead::too_long) {
            report_line_too_long();
            continue;
        }
        if (handle_command_line(line) == -1) return 0;
    }
}
