#pragma once
// The tests' own Wine prefix: made once per build tree, shared by every test
// process in turn (one holds it at a time), with drive letters that tests
// point at their folders.
//
// Wine learns a drive's type only when its wineserver starts, and forgets a
// letter for good once its link goes missing. So every letter ever given
// keeps its link (pointing nowhere while unused, which reads as a removable
// drive without a medium) and its registry type, and the wineserver is
// restarted only when a letter is new or changes type.

#include <map>
#include <string>
#include <vector>

#include "caldrin_runner.h"

class WinePrefix {
public:
    explicit WinePrefix(std::string path);
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    // Waits until no other test process holds the prefix, then makes it
    // ready: created, drives as given, a wineserver running. Throws with the
    // reason when that fails.
    void acquire(const std::vector<DriveFolder>& drives);
    void release();

    // Environment for every Wine process of this prefix.
    const std::map<std::string, std::string>& environment() const { return environment_; }
    const std::vector<std::string>& unset() const { return unset_; }

private:
    void create_if_missing();
    void point_drives(const std::vector<DriveFolder>& drives);
    void restart_server();
    int run_quietly(const std::vector<std::string>& argv) const;

    std::string path_;
    std::map<std::string, std::string> environment_;
    std::vector<std::string> unset_;
    int lock_fd_ = -1;
};
