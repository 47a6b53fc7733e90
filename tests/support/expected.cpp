#include "tests/support/expected.h"

#include <stdlib.h>  // mkdtemp
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace testsupport {

namespace {

std::filesystem::path tests_dir() {
    const char* src = std::getenv("HEATER_SOURCE_DIR");
    return std::filesystem::path(src ? src : ".") / "tests";
}

std::vector<std::string> split_lines(const std::string& s) {
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
}

bool write_file(const std::filesystem::path& p, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(p.parent_path(), ec);
    std::ofstream f(p, std::ios::binary);
    f << text;
    return static_cast<bool>(f);
}

// Where a test run leaves the text it got when it differs from the expected
// file: a private temporary folder of this test program (never the source or
// build tree), kept after the run so that the difference can be read.
std::filesystem::path actual_dir() {
    static const std::filesystem::path dir = [] {
        std::string tmpl = (std::filesystem::temp_directory_path() / "heater-actual-XXXXXX").string();
        return std::filesystem::path(mkdtemp(tmpl.data()) ? tmpl : std::string("."));
    }();
    return dir;
}

}  // namespace

std::string diff_text_with_expected(const std::string& actual, const std::string& pathUnderTests) {
    const std::filesystem::path expectedPath = tests_dir() / pathUnderTests;
    const char* update = std::getenv("HEATER_UPDATE_EXPECTED");
    if (update && std::string(update) == "1") {
        if (write_file(expectedPath, actual)) return "";
        return "cannot write " + expectedPath.string();
    }
    std::ifstream f(expectedPath, std::ios::binary);
    // The folder is made only when there is a text to keep.
    const auto actualPath = [&pathUnderTests] { return actual_dir() / pathUnderTests; };
    if (!f) {
        write_file(actualPath(), actual);
        return "no expected file " + expectedPath.string() + "; the actual text is in " +
               std::filesystem::absolute(actualPath()).string() +
               " (HEATER_UPDATE_EXPECTED=1 writes it as the expected file)";
    }
    std::stringstream buf;
    buf << f.rdbuf();
    const std::string expected = buf.str();
    if (expected == actual) return "";

    write_file(actualPath(), actual);
    const auto e = split_lines(expected), a = split_lines(actual);
    std::ostringstream o;
    o << pathUnderTests << " differs (actual text in " << std::filesystem::absolute(actualPath()).string() << "):\n";
    int shown = 0;
    for (std::size_t i = 0; i < std::max(e.size(), a.size()) && shown < 8; ++i) {
        const std::string* el = i < e.size() ? &e[i] : nullptr;
        const std::string* al = i < a.size() ? &a[i] : nullptr;
        if (el && al && *el == *al) continue;
        o << "  line " << i + 1 << "\n    expected: " << (el ? "\"" + *el + "\"" : "(none)")
          << "\n    actual:   " << (al ? "\"" + *al + "\"" : "(none)") << '\n';
        ++shown;
    }
    if (shown == 0) o << "  (line ends differ)\n";
    return o.str();
}

std::string diff_with_expected(const prn::Document& doc, const std::string& pathUnderTests) {
    return diff_text_with_expected(prn::dump(doc), pathUnderTests);
}

}  // namespace testsupport
