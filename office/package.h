// An Office Open XML package (a .docx/.dotx/.xlsx file is a zip of XML
// parts) held in memory: read whole with libzip, parts changed in memory,
// written whole to a new file. No Qt.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace office {

// A file that is missing, not a zip, or lacks a part it must have; or one
// that could not be written (`error`: the system's errno then, 0 if none).
struct BadPackage : std::runtime_error {
    explicit BadPackage(const std::string& what, int err = 0) : std::runtime_error(what), error(err) {}
    int error = 0;
};

// Test seam: while `err` is not 0, every package saved fails as the system
// would with that errno (ENOSPC: a full disk).
void failPackageSavesForTest(int err);

class Package {
public:
    // Reads every part of the file. Throws BadPackage.
    static Package load(const std::string& path);
    // Builds one from parts (the template build tool).
    Package() = default;

    bool has(const std::string& part) const { return parts_.count(part) != 0; }
    // A part's bytes; throws BadPackage when it is missing.
    const std::string& part(const std::string& name) const;
    void set(const std::string& name, std::string data) { parts_[name] = std::move(data); }
    std::vector<std::string> names() const;

    // Writes the package to `path` (a complete temporary file in the same
    // folder, then renamed over it). Throws BadPackage when it cannot.
    void save(const std::string& path) const;

    // "word/document.xml" -> "word/_rels/document.xml.rels"
    static std::string relsOf(const std::string& part);
    // A relationship target of `part` as a part name ("media/a.png" from
    // "word/document.xml" -> "word/media/a.png"; "/xl/x.xml" -> "xl/x.xml").
    static std::string resolve(const std::string& part, const std::string& target);

private:
    std::map<std::string, std::string> parts_;
};

}  // namespace office
