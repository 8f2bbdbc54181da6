#include "caldrin_runner.h"

std::vector<std::shared_ptr<CaldrinRunner>> available_runners() {
    std::vector<std::shared_ptr<CaldrinRunner>> runners;
    runners.push_back(make_linux_runner(CALDRIN_PROGRAM));
    add_windows_runners(runners);
    return runners;
}
