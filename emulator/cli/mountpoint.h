#pragma once
#include <string>

namespace devsim {

// Empty text when path is an empty folder the device can be mounted on,
// else one line saying why not.
std::string check_mountpoint(const std::string& path);

}  // namespace devsim
