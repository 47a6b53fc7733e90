// The private folders printing works in (office/render.h's job folders,
// LibreOffice's profiles) and what an interrupted run left of them. Used by
// the office rendering alone; no Qt.
#pragma once

#include <string>
#include <vector>

namespace office {

// 128 random bits as hex: names nobody else can guess or take first.
// Throws RenderError when the system gives no random numbers.
std::string randomName();

// Why a folder or a document in the temporary folder could not be made
// (`error`: an errno, 0 if none is known; `inTemp`: what was to be made
// there): "No space left in the temporary folder /tmp" when the disk is
// full, else the folder and the system's reason.
std::string saveFailure(int error, const std::string& inTemp);

// A new private folder in the temporary folder ("<prefix>XXXXXX"), held
// (locked) until letGo(), so that no other run takes it for a leftover.
// Throws RenderError naming the folder and the cause.
std::string newHeldFolder(const std::string& prefix);
// Removes a folder of newHeldFolder and lets its lock go.
void letGo(const std::string& folder);

// A LibreOffice profile folder for one user of it. LibreOffice lets one
// process use a profile at a time, so a folder is locked while in use: the
// first free of a few numbered folders in the user's cache is taken (kept
// between runs: a first start on a new profile is slower), so another copy
// of the program or a test running beside gets one of its own. When all
// are in use, or the user has no cache folder, a private temporary folder
// (mkdtemp, 0700) is made and goes when it is done. LibreOffice's own
// temporary files go into its "tmp", emptied before and after each use;
// the programs run there too.
//
// The profile itself (LibreOffice's user installation) lies in the folder
// under a new random name at every use, and LibreOffice is told it through
// its environment (UserInstallation), never on a command line that every
// user can read. LibreOffice listens for a second start of itself on a
// pipe in /tmp named after that folder's URL (an MD5 of it): with a name
// nobody knows in advance, nobody can be listening there first, which would
// make every printout wait and fail. A LibreOffice that was killed leaves
// that pipe behind, so the lease removes it when it ends (the processes
// that used the profile are gone by then), under both spellings of the
// folder's URL (as given, and with links resolved).
class ProfileLease {
public:
    // `which` names the kind of user ("kept", "oneshot"): see profileFolder.
    explicit ProfileLease(const std::string& which);
    ~ProfileLease();
    ProfileLease(const ProfileLease&) = delete;
    ProfileLease& operator=(const ProfileLease&) = delete;
    // The lock's descriptor (-1 for a temporary folder, which needs none).
    int lockFd() const { return lock_; }
    // The working folder of the programs that use the profile.
    const std::string& tmp() const { return tmp_; }
    // The environment of the LibreOffice that uses the profile: its
    // temporary folder and its user installation.
    std::vector<std::string> env() const;
    // Has the profile's LibreOffice accept UNO connections on `pipe`.
    bool acceptOn(const std::string& pipe) const;
    // After LibreOffice failed: what the dealer is told when the disk of
    // the profile's folder (or of `outDir`, where the PDFs were to go) is
    // full - "No space left in ..." naming the folder; "" when both have
    // room.
    std::string noSpace(const std::string& outDir) const;

private:
    std::string renamedProfile() const;

    std::string folder_, tmp_, install_;
    int lock_ = -1;
    bool own_ = false;
};

}  // namespace office
