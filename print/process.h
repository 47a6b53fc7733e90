// Running a helper program (lp, soffice): an argument list, never a shell;
// a time limit after which the program and everything it started are
// killed; nothing left running when the call returns.
#pragma once

#include <string>
#include <vector>

namespace prn {

struct ProcessResult {
    bool started = false;   // false: the program could not be run (not installed)
    bool timedOut = false;  // killed at the time limit
    int exitCode = -1;      // the program's exit status when it ended by itself
    std::string output;     // what it wrote to stdout and stderr (first 64 KiB)
    bool ok() const { return started && !timedOut && exitCode == 0; }
};

// Runs argv[0] (looked up on PATH) with the arguments argv[1..] in its own
// process group, waits at most timeoutMs, and returns how it ended.
// Extra environment entries ("NAME=value") are added to the current ones
// (replacing one of the same name); `cwd`, when not empty, is its working
// folder. When the dealer cancels the running ui::Progress, the group is
// killed and ui::Cancelled thrown.
ProcessResult runProcess(const std::vector<std::string>& argv, int timeoutMs,
                         const std::vector<std::string>& extraEnv = {}, const std::string& cwd = {});

// Starts argv in its own process group (its id is the group's id) with `in`,
// `out` and `err` as its standard files (-1: /dev/null) and `fd3`, when not
// -1, as its descriptor 3, in the working folder `cwd` (empty: ours); the
// caller waits for it. It keeps the program's umask: what the program
// makes is private by the modes it sets, and a caller whose program needs
// another umask sets it in that program (office::withUsualUmask does for
// LibreOffice). Returns the process id, or -1 when it could not be started.
int spawnInGroup(const std::vector<std::string>& argv, int in, int out, int err,
                 const std::vector<std::string>& extraEnv = {}, int fd3 = -1, const std::string& cwd = {});

// Waits at most timeoutMs until no process of the group `pgid` runs any
// more (a zombie waiting for its parent counts as gone). A killed program's
// children are not ours to reap, and a big one (LibreOffice) takes a moment
// to die: until then it still holds its files, its profile and its pipes.
// Returns true when the group is gone.
bool waitGroupGone(int pgid, int timeoutMs);

// True when a program of that name is on PATH (or the path is executable).
bool programExists(const std::string& name);
// Where that program is: the path given or the first match on PATH; "" when
// there is none.
std::string programPath(const std::string& name);

}  // namespace prn
