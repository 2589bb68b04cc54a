#pragma once
// Whole programs as processes beside the tests: started from the build's
// program directory, waited for, and watched for their single-instance lock.
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

// Starts the program `name` of the build's program directory with the test's
// environment, the given variables set over it, and SIGINT and SIGHUP at their
// defaults, as from a terminal. Its stderr goes to the file errPath when given.
pid_t LaunchProgram(const std::string& name, const std::map<std::string, std::string>& environment,
                    const std::string& errPath = {});

// Starts a command (the program's path first) with the test's environment,
// its stdout going to the file outPath, in the folder cwd when one is given.
// -1 when it cannot be started.
pid_t SpawnCommand(std::vector<std::string> words, const std::string& outPath, const std::string& cwd = {});

// True once the file at path holds the text; false when the process ended
// first or the text did not come within a minute.
bool WaitForOutput(pid_t pid, const std::string& path, const std::string& text);

// The exit code of a process that ended by itself, -1 otherwise.
int WaitForExit(pid_t pid);

// True once the process holds a lock file, which a program takes when it
// starts; false when it ended first or took none within a minute. With a
// path, only a lock on that file counts (a link is followed: a COM link
// names the device it stands for).
bool WaitForLock(pid_t pid, const std::string& path = {});

// Whether the process holds a lock now, on the file of that path when one is given.
bool HoldsLock(pid_t pid, const std::string& path = {});

} // namespace testsupport
