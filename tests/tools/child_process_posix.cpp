#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "child_process.hpp"

namespace korvanel::send::testing {

namespace {

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return std::move(text).str();
}

}  // namespace

child_result run_korvanel_send(const std::vector<std::string>& args) {
    namespace fs = std::filesystem;
    const fs::path exe =
        fs::read_symlink("/proc/self/exe").parent_path() / korvanel_send_relative();
    const fs::path dir = fs::temp_directory_path() / ("korvanel-send-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path out = dir / "out", err = dir / "err";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    std::vector<std::string> argv_storage{exe.string()};
    argv_storage.insert(argv_storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : argv_storage) argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + exe.string());
    int status = 0;
    waitpid(pid, &status, 0);

    child_result result;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = slurp(out);
    result.err = slurp(err);
    fs::remove_all(dir);
    return result;
}

}  // namespace korvanel::send::testing
