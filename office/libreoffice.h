// What the program needs to know of LibreOffice's own files: the pipes it
// listens on in /tmp (named by LibreOffice, not by us: "OSL_PIPE_<uid>_<name>"),
// the accept string it reads from its profile, and the shared folders of its
// installation that every user's LibreOffice must be able to read. No Qt.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace office {

// The file of LibreOffice's pipe `name` for this user:
// /tmp/OSL_PIPE_<uid>_<name> (LibreOffice always takes /tmp when it can
// write there). The one place that spells it: the kept renderer's helper
// has the path in its environment.
std::string pipePath(const std::string& name);
// Test seam: the folder pipePath names the pipes in ("" for /tmp), so a
// test that plants or sweeps pipes keeps to a folder of its own and never
// meets those of a run beside it.
void setPipeFolderForTest(const std::string& folder);

// The pipes of ours: the one the kept renderer's LibreOffice accepts UNO
// connections on ("heater_render_", the program's process id and a random
// name) and the one every LibreOffice listens on for a second start of
// itself (see instancePipeName).
inline constexpr const char* kRenderPipePrefix = "heater_render_";
inline constexpr const char* kInstancePipePrefix = "SingleOfficeIPC_";

// The name of the pipe a LibreOffice listens on for a second start of
// itself on the profile `profileUrl` (its UserInstallation):
// "SingleOfficeIPC_" and the MD5 of the URL's UTF-16 code units, each byte
// in hex without its leading zero (as LibreOffice writes it).
std::string instancePipeName(const std::string& profileUrl);

// Removes the pipe `name` of this user when it is a dead one: a socket,
// owned by us, that nobody listens on any more (connect: ECONNREFUSED), as
// a killed LibreOffice leaves it. Anything else there stays, also a
// listener too busy to take one more connection: it is asked without
// waiting.
void removeDeadPipe(const std::string& name);
// Removes every dead pipe of this user whose name starts with one of
// `prefixes` (as removeDeadPipe judges it) and that was made before
// `before`: what a LibreOffice killed together with the program (logout,
// the out-of-memory killer) left in /tmp. A live one, another user's and
// anything that is no socket stay. Returns how many went.
int removeDeadPipes(const std::vector<std::string>& prefixes, std::time_t before);

// `path` as a file URL, every byte but letters, digits and "/-_.~"
// escaped (%XX), so the URL is ASCII.
std::string fileUrl(const std::string& path);

// `argv` run with the usual umask 022, set in its own process whatever the
// program's is. LibreOffice needs it: the pipes it makes in /tmp take their
// mode from the umask, and with 022 no other user can connect to them
// (connecting to a Unix socket needs write permission on it); what it makes
// in its own installation (its shared extension cache, on a first run as
// root) stays readable for every user. What it writes for us lies in our
// private (0700) folders, whatever its umask.
std::vector<std::string> withUsualUmask(std::vector<std::string> argv);

// Tells the LibreOffice of the profile `profileDir` to accept UNO
// connections on the pipe `pipe`: the setting ooSetupConnectionURL in the
// profile's registrymodifications.xcu (read at start, like --accept, but
// not on a command line every user can read). The rest of the file is
// kept; the file is the user's alone (0600). False when it cannot be written.
bool setAcceptPipe(const std::string& profileDir, const std::string& pipe);

// Why LibreOffice (the `soffice` found on PATH) cannot start on its
// installation, judged after it failed with `output`: a shared folder
// that this user cannot read (as LibreOffice leaves its extension cache
// when it first runs as root with a private umask), or a deployment error
// in its output. The dealer's message names the cause and what the system
// administrator should do; "" when neither is the case.
std::string installationFault(const std::string& output);

}  // namespace office
