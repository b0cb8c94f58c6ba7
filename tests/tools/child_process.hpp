#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace korvanel::send::testing {

struct child_result {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// Runs the built korvanel-send with UTF-8 `args` as a separate process, its
// output captured through files (a pipe could be held open by Wine's
// services), and waits for it to end.
// Where the tool is, seen from the test executable's folder: build paths
// are Linux paths, which mean nothing inside Wine, but the way between the
// two folders is the same.
inline std::string korvanel_send_relative() {
    return std::filesystem::path(KORVANEL_SEND_EXE)
        .lexically_relative(KORVANEL_TESTS_DIR)
        .generic_string();
}

child_result run_korvanel_send(const std::vector<std::string>& args);

}  // namespace korvanel::send::testing
