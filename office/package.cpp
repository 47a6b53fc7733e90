#include "office/package.h"

#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "core/recfile.h"

namespace office {

namespace {

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};

// Limits that keep a damaged or hostile file from exhausting memory.
constexpr zip_uint64_t kMaxPart = 64u << 20;
constexpr zip_uint64_t kMaxTotal = 256u << 20;  // all parts together, unpacked
constexpr zip_int64_t kMaxParts = 4096;

int g_saveFault = 0;

// The system's errno behind a libzip failure (0 when it was none).
int systemError(zip_error_t* ze) { return zip_error_system_type(ze) == ZIP_ET_SYS ? zip_error_code_system(ze) : 0; }

}  // namespace

Package Package::load(const std::string& path) {
    // Read whole first, as every file of the program's folders is (a
    // regular file, without waiting, its size checked): libzip would wait
    // on a named pipe in its place.
    std::string packed;
    if (!rec::readFile(path, packed, kMaxTotal)) throw BadPackage("cannot open " + path);
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* src = zip_source_buffer_create(packed.data(), packed.size(), 0, &zerr);
    std::unique_ptr<zip_t, ZipCloser> z(src ? zip_open_from_source(src, ZIP_RDONLY, &zerr) : nullptr);
    zip_error_fini(&zerr);
    if (!z) {
        if (src) zip_source_free(src);
        throw BadPackage("cannot open " + path);
    }
    const zip_int64_t n = zip_get_num_entries(z.get(), 0);
    if (n < 0 || n > kMaxParts) throw BadPackage("damaged file " + path);
    // Every part's size is checked before any is read: a file that would
    // take too much memory is refused without taking any.
    std::vector<zip_stat_t> stats(static_cast<std::size_t>(n));
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t& st = stats[static_cast<std::size_t>(i)];
        if (zip_stat_index(z.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) ||
            !(st.valid & ZIP_STAT_SIZE) || st.size > kMaxPart)
            throw BadPackage("damaged file " + path);
        total += st.size;
        if (total > kMaxTotal) throw BadPackage("damaged file " + path);
    }
    Package p;
    for (zip_int64_t i = 0; i < n; ++i) {
        const zip_stat_t& st = stats[static_cast<std::size_t>(i)];
        std::string name = st.name;
        if (!name.empty() && name.back() == '/') continue;  // a folder entry
        std::string data(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z.get(), static_cast<zip_uint64_t>(i), 0);
        if (!f) throw BadPackage("damaged file " + path);
        const zip_int64_t got = zip_fread(f, data.data(), st.size);
        // The part's checksum is compared only once its end is read: one
        // read more, which must find the end, so that a damaged part is
        // refused rather than read as if whole.
        char past = 0;
        const zip_int64_t more = got < 0 ? 0 : zip_fread(f, &past, 1);
        const int closed = zip_fclose(f);
        if (got < 0 || static_cast<zip_uint64_t>(got) != st.size || more != 0 || closed != 0)
            throw BadPackage("damaged file " + path);
        p.parts_[name] = std::move(data);
    }
    if (!p.has("[Content_Types].xml")) throw BadPackage("not an Office Open XML file: " + path);
    return p;
}

const std::string& Package::part(const std::string& name) const {
    auto it = parts_.find(name);
    if (it == parts_.end()) throw BadPackage("missing part " + name);
    return it->second;
}

std::vector<std::string> Package::names() const {
    std::vector<std::string> v;
    for (const auto& [k, _] : parts_) v.push_back(k);
    return v;
}

void Package::save(const std::string& path) const {
    namespace fs = std::filesystem;
    const std::string tmp = path + ".part";
    std::error_code ec;
    fs::remove(tmp, ec);
    int err = 0;
    zip_t* z = zip_open(tmp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, err);
        const int sys = systemError(&ze);
        zip_error_fini(&ze);
        throw BadPackage("cannot write " + path, sys);
    }
    // [Content_Types].xml first, as the readers of this format expect.
    std::vector<const std::pair<const std::string, std::string>*> order;
    for (const auto& kv : parts_)
        if (kv.first == "[Content_Types].xml") order.insert(order.begin(), &kv);
        else order.push_back(&kv);
    for (const auto* kv : order) {
        zip_source_t* s = zip_source_buffer(z, kv->second.data(), kv->second.size(), 0);
        if (!s || zip_file_add(z, kv->first.c_str(), s, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            if (s) zip_source_free(s);
            zip_discard(z);
            fs::remove(tmp, ec);
            throw BadPackage("cannot write " + path);
        }
    }
    if (g_saveFault || zip_close(z) != 0) {
        const int sys = g_saveFault ? g_saveFault : systemError(zip_get_error(z));
        zip_discard(z);
        fs::remove(tmp, ec);
        throw BadPackage("cannot write " + path, sys);
    }
    // Documents hold a customer's name and address: readable by their owner only.
    fs::permissions(tmp, fs::perms::owner_read | fs::perms::owner_write, ec);
    fs::rename(tmp, path, ec);
    if (ec) {
        const int sys = ec.value();
        fs::remove(tmp, ec);
        throw BadPackage("cannot write " + path, sys);
    }
}

void failPackageSavesForTest(int err) { g_saveFault = err; }

std::string Package::relsOf(const std::string& part) {
    const auto slash = part.rfind('/');
    if (slash == std::string::npos) return "_rels/" + part + ".rels";
    return part.substr(0, slash) + "/_rels/" + part.substr(slash + 1) + ".rels";
}

std::string Package::resolve(const std::string& part, const std::string& target) {
    if (!target.empty() && target[0] == '/') return target.substr(1);
    std::string dir = part.substr(0, part.rfind('/') == std::string::npos ? 0 : part.rfind('/') + 1);
    std::string t = target;
    while (t.rfind("../", 0) == 0) {
        t = t.substr(3);
        if (!dir.empty()) dir.pop_back();
        const auto s = dir.rfind('/');
        dir = s == std::string::npos ? "" : dir.substr(0, s + 1);
    }
    if (t.rfind("./", 0) == 0) t = t.substr(2);
    return dir + t;
}

}  // namespace office
