// This machine has no Wine: the tables run against the Linux program only.

#include "caldrin_runner.h"

void add_windows_runners(std::vector<std::shared_ptr<CaldrinRunner>>&) {}
