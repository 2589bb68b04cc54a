#include "tests/support/ProgramProcess.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace testsupport {

namespace {

// A failure to come up within this long is a broken program, not a slow one.
constexpr auto kPatience = std::chrono::seconds(60);

} // namespace

pid_t LaunchProgram(const std::string& name, const std::map<std::string, std::string>& environment,
                    const std::string& errPath) {
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        const char* eq = std::strchr(*e, '=');
        if (eq) env[std::string(*e, static_cast<size_t>(eq - *e))] = eq + 1;
    }
    for (const auto& [key, value] : environment)
        env[key] = value;
    std::vector<std::string> texts;
    for (const auto& [key, value] : env)
        texts.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (std::string& t : texts)
        envp.push_back(t.data());
    envp.push_back(nullptr);
    std::string program = TOLVANE_BIN_DIR "/" + name;
    char* argv[] = {program.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!errPath.empty())
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // As from a terminal, whatever started the tests: a run in the
    // background of a script would ignore Ctrl+C and hang-up.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGHUP);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, envp.data()) != 0) pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

pid_t SpawnCommand(std::vector<std::string> words, const std::string& outPath, const std::string& cwd) {
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool WaitForOutput(pid_t pid, const std::string& path, const std::string& text) {
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < end) {
        std::ifstream in(path);
        std::stringstream got;
        got << in.rdbuf();
        if (got.str().find(text) != std::string::npos) return true;
        if (waitpid(pid, nullptr, WNOHANG) == pid) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HoldsLock(pid_t pid, const std::string& path) {
    // /proc/locks names the file by its device's major:minor in hex and its inode.
    std::string file;
    if (!path.empty()) {
        struct stat st {};
        if (stat(path.c_str(), &st) != 0) return false;
        char id[64];
        std::snprintf(id, sizeof id, "%02x:%02x:%lu", major(st.st_dev), minor(st.st_dev),
                      static_cast<unsigned long>(st.st_ino));
        file = id;
    }
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream in(line);
        std::string n, kind, mode, access, where;
        pid_t holder = 0;
        if (in >> n >> kind >> mode >> access >> holder >> where && kind == "FLOCK" && holder == pid &&
            (file.empty() || where == file))
            return true;
    }
    return false;
}

bool WaitForLock(pid_t pid, const std::string& path) {
    const auto end = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < end) {
        if (HoldsLock(pid, path)) return true;
        if (waitpid(pid, nullptr, WNOHANG) == pid) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace testsupport
