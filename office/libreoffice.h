// What the program needs to know of LibreOffice's own files: the pipes it
// listens on in /tmp (named by LibreOffice, not by us: "OSL_PIPE_<uid>_<name>"),
// the accept string it reads from its profile, and the shared folders of its
// installation that every user's LibreOffice must be able to read. No Qt.
#pragma once

#include <string>

namespace office {

// The file of LibreOffice's pipe `name` for this user:
// /tmp/OSL_PIPE_<uid>_<name> (LibreOffice always takes /tmp when it can
// write there).
std::string pipePath(const std::string& name);

// The name of the pipe a LibreOffice listens on for a second start of
// itself on the profile `profileUrl` (its UserInstallation):
// "SingleOfficeIPC_" and the MD5 of the URL's UTF-16 code units, each byte
// in hex without its leading zero (as LibreOffice writes it).
std::string instancePipeName(const std::string& profileUrl);

// Removes the pipe `name` of this user when it is a dead one: a socket,
// owned by us, that nobody listens on any more (connect: ECONNREFUSED), as
// a killed LibreOffice leaves it. Anything else there stays.
void removeDeadPipe(const std::string& name);

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
