#include "office/libreoffice.h"

#include <nettle/md5.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <pugixml.hpp>
#include <sstream>

#include "core/recfile.h"
#include "print/process.h"

namespace office {

namespace fs = std::filesystem;

namespace {

// MD5 of `bytes` (nettle), the digest LibreOffice names its instance pipe
// with; only a name, no security rests on it.
std::array<std::uint8_t, MD5_DIGEST_SIZE> md5(const std::string& bytes) {
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
    std::array<std::uint8_t, MD5_DIGEST_SIZE> out{};
    md5_digest(&ctx, out.size(), out.data());
    return out;
}

// Whether this user may list and enter the folder by its mode alone (as a
// user without root's privileges: a test run as root plants a folder of
// another owner).
bool readableByMode(const struct stat& st) {
    if (st.st_uid == ::geteuid()) return (st.st_mode & 0500) == 0500;
    bool member = st.st_gid == ::getegid();
    gid_t groups[256];
    const int n = ::getgroups(256, groups);
    for (int i = 0; i < n && !member; ++i) member = groups[i] == st.st_gid;
    return member ? (st.st_mode & 0050) == 0050 : (st.st_mode & 0005) == 0005;
}

// The first folder at or below `dir` (links followed, `depth` levels down)
// this user cannot read; "" when there is none.
std::string unreadableBelow(const fs::path& dir, int depth) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
    if (!readableByMode(st)) return dir.string();
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; depth > 0 && !ec && it != end; it.increment(ec))
        if (std::string found = unreadableBelow(it->path(), depth - 1); !found.empty()) return found;
    return {};
}

std::string ownerOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "?";
    char buf[1024];
    passwd pw{}, *found = nullptr;
    if (::getpwuid_r(st.st_uid, &pw, buf, sizeof buf, &found) == 0 && found) return pw.pw_name;
    return "user id " + std::to_string(st.st_uid);
}

// Where LibreOffice makes its pipes (see pipePath); a folder of a test's own
// in tests.
std::string g_pipeFolder = "/tmp";

constexpr const char* kSetupOffice = "/org.openoffice.Setup/Office";
constexpr const char* kConnectionUrl = "ooSetupConnectionURL";

}  // namespace

std::string pipePath(const std::string& name) {
    return g_pipeFolder + "/OSL_PIPE_" + std::to_string(::getuid()) + "_" + name;
}

void setPipeFolderForTest(const std::string& folder) { g_pipeFolder = folder.empty() ? "/tmp" : folder; }

std::string instancePipeName(const std::string& profileUrl) {
    std::string utf16;  // the URL is ASCII (fileUrl escapes the rest)
    for (char c : profileUrl) utf16 += c, utf16 += '\0';
    std::string name = kInstancePipePrefix;
    for (std::uint8_t b : md5(utf16)) {
        char h[3];
        std::snprintf(h, sizeof h, "%x", b);
        name += h;
    }
    return name;
}

namespace {

// Removes the file at `path` when it is a dead pipe of ours made before
// `before` (see removeDeadPipe); true when it went.
bool removeDeadPipeAt(const std::string& path, std::time_t before) {
    sockaddr_un addr{};
    struct stat st {};
    if (path.size() >= sizeof addr.sun_path || ::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) ||
        st.st_uid != ::getuid() || st.st_mtime >= before)
        return false;
    // Never waits: connecting to a listener whose backlog is full (a hung
    // program of this user) would block the start for good. Only a refusal
    // tells a dead pipe; a connection, EAGAIN (full) or any other answer
    // leaves it.
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    addr.sun_family = AF_UNIX;
    path.copy(addr.sun_path, path.size());
    const bool dead = ::connect(s, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 && errno == ECONNREFUSED;
    ::close(s);
    return dead && ::unlink(path.c_str()) == 0;
}

}  // namespace

void removeDeadPipe(const std::string& name) {
    removeDeadPipeAt(pipePath(name), std::numeric_limits<std::time_t>::max());
}

int removeDeadPipes(const std::vector<std::string>& prefixes, std::time_t before) {
    const fs::path ours = pipePath("");  // /tmp/OSL_PIPE_<uid>_
    const std::string start = ours.filename().string();
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(ours.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(start, 0) != 0) continue;
        for (const std::string& prefix : prefixes)
            if (name.compare(start.size(), prefix.size(), prefix) == 0) {
                removed += removeDeadPipeAt(it->path().string(), before);
                break;
            }
    }
    return removed;
}

std::string fileUrl(const std::string& path) {
    std::string u = "file://";
    for (unsigned char c : fs::absolute(path).string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            u += static_cast<char>(c);
        } else {
            char b[4];
            std::snprintf(b, sizeof b, "%%%02X", c);
            u += b;
        }
    }
    return u;
}

std::vector<std::string> withUsualUmask(std::vector<std::string> argv) {
    argv.insert(argv.begin(), {"/bin/sh", "-c", "umask 022 && exec \"$@\"", "sh"});
    return argv;
}

bool setAcceptPipe(const std::string& profileDir, const std::string& pipe) {
    const std::string user = profileDir + "/user", file = user + "/registrymodifications.xcu";
    if (::mkdir(user.c_str(), 0700) != 0 && errno != EEXIST) return false;
    pugi::xml_document doc;
    pugi::xml_node items;
    if (doc.load_file(file.c_str())) items = doc.child("oor:items");
    if (!items) {
        doc.reset();
        doc.append_child(pugi::node_declaration).append_attribute("version") = "1.0";
        items = doc.append_child("oor:items");
        items.append_attribute("xmlns:oor") = "http://openoffice.org/2001/registry";
        items.append_attribute("xmlns:xs") = "http://www.w3.org/2001/XMLSchema";
        items.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
    }
    for (pugi::xml_node item = items.child("item"), next; item; item = next) {
        next = item.next_sibling("item");
        if (std::string(item.attribute("oor:path").value()) == kSetupOffice &&
            item.find_child_by_attribute("prop", "oor:name", kConnectionUrl))
            items.remove_child(item);
    }
    pugi::xml_node prop = items.append_child("item");
    prop.append_attribute("oor:path") = kSetupOffice;
    prop = prop.append_child("prop");
    prop.append_attribute("oor:name") = kConnectionUrl;
    prop.append_attribute("oor:op") = "fuse";
    prop.append_child("value").text() = ("pipe,name=" + pipe + ";urp;StarOffice.ComponentContext").c_str();
    std::ostringstream text;
    doc.save(text, "", pugi::format_raw);
    // Replaced whole; in the profile's private folder, and the user's alone.
    if (!rec::replaceFile(file, text.str())) return false;
    return ::chmod(file.c_str(), 0600) == 0;
}

std::string installationFault(const std::string& output) {
    std::error_code ec;
    const fs::path program = prn::programPath("soffice");
    const fs::path root = program.empty() ? fs::path() : fs::canonical(program, ec).parent_path().parent_path();
    const std::string todo = ". The system administrator should make it readable for every user (chmod -R a+rX ";
    if (!program.empty() && !ec) {
        for (const auto& [sub, depth] : {std::pair{"share", 0}, {"share/uno_packages", 3}, {"share/extensions", 1}}) {
            const std::string found = unreadableBelow(root / sub, depth);
            if (found.empty()) continue;
            const std::string path = fs::canonical(found, ec).string();
            return "LibreOffice cannot start: its shared folder " + path + " can be read by its owner (" +
                   ownerOf(path) + ") only, as LibreOffice leaves it when it first runs as root with a private umask" +
                   todo + path + "), or remove it and run LibreOffice once as root with the usual umask 022.";
        }
    }
    const auto at = output.find("DeploymentException");
    if (at == std::string::npos) return {};
    const auto before = output.rfind('\n', at), to = output.find('\n', at);
    const std::size_t begin = before == std::string::npos ? 0 : before + 1;
    const std::string line = output.substr(begin, to == std::string::npos ? std::string::npos : to - begin);
    const std::string shared =
        root.empty() ? std::string("its installation's share/uno_packages") : (root / "share/uno_packages").string();
    return "LibreOffice cannot start: it could not set up the extensions shared by all users (" + line +
           "). Its shared folder " + shared + " may not be readable by this user" + todo + shared +
           "), or run LibreOffice once as root with the usual umask 022.";
}

}  // namespace office
