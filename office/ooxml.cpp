#include "office/ooxml.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "core/cp1252.h"
#include "core/recfile.h"

namespace office::ooxml {

namespace {

// A picture larger than this is no logo or heat-pump picture: refused
// before it is read.
constexpr std::uint64_t kMaxImageBytes = 32u << 20;

std::uint32_t le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
std::uint32_t be32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3]));
}
unsigned be16(const std::string& b, std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(b[at])) << 8 | static_cast<unsigned char>(b[at + 1]);
}

bool sane(int w, int h) { return w > 0 && h > 0 && w <= 20000 && h <= 20000; }

bool recognise(Image& img) {
    const std::string& b = img.bytes;
    if (b.size() >= 54 && b[0] == 'B' && b[1] == 'M') {
        img.ext = "bmp", img.contentType = "image/bmp";
        img.width = static_cast<int>(le32(b, 18));
        const auto h = static_cast<std::int32_t>(le32(b, 22));
        img.height = h < 0 ? -h : h;
        const double ppmX = static_cast<std::int32_t>(le32(b, 38)), ppmY = static_cast<std::int32_t>(le32(b, 42));
        // Pixels per metre are whole numbers: 3780 stands for 96 dpi.
        if (ppmX > 0) img.dpiX = std::max(1.0, std::round(ppmX * 0.0254));
        if (ppmY > 0) img.dpiY = std::max(1.0, std::round(ppmY * 0.0254));
        return sane(img.width, img.height);
    }
    if (b.size() >= 33 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
        img.ext = "png", img.contentType = "image/png";
        img.width = static_cast<int>(be32(b, 16));
        img.height = static_cast<int>(be32(b, 20));
        const auto phys = b.find("pHYs");
        if (phys != std::string::npos && phys + 13 <= b.size() && b[phys + 12] == 1) {
            img.dpiX = std::round(be32(b, phys + 4) * 0.0254);
            img.dpiY = std::round(be32(b, phys + 8) * 0.0254);
            if (img.dpiX <= 0 || img.dpiY <= 0) img.dpiX = img.dpiY = 96;
        }
        return sane(img.width, img.height);
    }
    if (b.size() >= 10 && (b.compare(0, 6, "GIF87a") == 0 || b.compare(0, 6, "GIF89a") == 0)) {
        img.ext = "gif", img.contentType = "image/gif";
        img.width = static_cast<unsigned char>(b[6]) | static_cast<unsigned char>(b[7]) << 8;
        img.height = static_cast<unsigned char>(b[8]) | static_cast<unsigned char>(b[9]) << 8;
        return sane(img.width, img.height);
    }
    if (b.size() >= 4 && static_cast<unsigned char>(b[0]) == 0xFF && static_cast<unsigned char>(b[1]) == 0xD8) {
        img.ext = "jpeg", img.contentType = "image/jpeg";
        std::size_t i = 2;
        while (i + 9 < b.size()) {
            if (static_cast<unsigned char>(b[i]) != 0xFF) return false;
            const unsigned marker = static_cast<unsigned char>(b[i + 1]);
            const unsigned len = be16(b, i + 2);
            if (marker == 0xE0 && i + 16 < b.size() && b.compare(i + 4, 5, std::string("JFIF\0", 5)) == 0 &&
                b[i + 11] == 1) {
                img.dpiX = be16(b, i + 12), img.dpiY = be16(b, i + 14);
                if (img.dpiX <= 0 || img.dpiY <= 0) img.dpiX = img.dpiY = 96;
            }
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
                img.height = static_cast<int>(be16(b, i + 5));
                img.width = static_cast<int>(be16(b, i + 7));
                return sane(img.width, img.height);
            }
            if (len < 2) return false;
            i += 2 + len;
        }
        return false;
    }
    return false;
}

}  // namespace

pugi::xml_document parse(const Package& pkg, const std::string& part) {
    pugi::xml_document d;
    const std::string& bytes = pkg.part(part);
    if (!d.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata_single))
        throw BadPackage("damaged part " + part);
    return d;
}

pugi::xml_document parseRels(const Package& pkg, const std::string& part) {
    const std::string rels = Package::relsOf(part);
    if (pkg.has(rels)) return parse(pkg, rels);
    pugi::xml_document d;
    d.append_child("Relationships").append_attribute("xmlns") =
        "http://schemas.openxmlformats.org/package/2006/relationships";
    return d;
}

namespace {

bool forbiddenChar(unsigned long c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF;
}

// A character reference to a character XML forbids ("&#1;"): the writer
// escapes control characters that way, and a reader refuses the part.
bool forbiddenReference(const std::string& xml) {
    for (auto at = xml.find("&#"); at != std::string::npos; at = xml.find("&#", at + 2)) {
        const bool hex = at + 2 < xml.size() && xml[at + 2] == 'x';
        const unsigned long c = std::strtoul(xml.c_str() + at + (hex ? 3 : 2), nullptr, hex ? 16 : 10);
        if (forbiddenChar(c)) return true;
    }
    return false;
}

}  // namespace

std::string xmlText(std::string_view text) {
    const std::string utf8 = cp1252::asUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (forbiddenChar(c)) continue;
        // U+FFFE and U+FFFF, EF BF BE and EF BF BF in UTF-8.
        if (c == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(utf8[i + 2]) & 0xFE) == 0xBE) {
            i += 2;
            continue;
        }
        out.push_back(utf8[i]);
    }
    return out;
}

std::string serialize(const pugi::xml_document& doc) {
    std::ostringstream o;
    doc.save(o, "", pugi::format_raw);
    std::string xml = o.str();
    // Texts come in through xmlText; whatever else holds bytes that are not
    // text (a damaged template) is refused here, before a reader drops the
    // part and prints the document without it.
    if (cp1252::asUtf8(xml) != xml || forbiddenReference(xml))
        throw BadPackage("the document holds characters that are not text");
    return xml;
}

void addDefault(pugi::xml_document& types, const std::string& ext, const std::string& contentType) {
    pugi::xml_node root = types.child("Types");
    for (pugi::xml_node d : root.children("Default"))
        if (ext == d.attribute("Extension").value()) return;
    pugi::xml_node d = root.prepend_child("Default");
    d.append_attribute("Extension") = ext.c_str();
    d.append_attribute("ContentType") = contentType.c_str();
}

void setOverride(pugi::xml_document& types, const std::string& partName, const std::string& contentType) {
    pugi::xml_node root = types.child("Types");
    const std::string name = "/" + partName;
    for (pugi::xml_node o : root.children("Override"))
        if (name == o.attribute("PartName").value()) {
            o.attribute("ContentType") = contentType.c_str();
            return;
        }
    pugi::xml_node o = root.append_child("Override");
    o.append_attribute("PartName") = name.c_str();
    o.append_attribute("ContentType") = contentType.c_str();
}

std::string addRelationship(pugi::xml_document& rels, const std::string& type, const std::string& target) {
    pugi::xml_node root = rels.child("Relationships");
    int n = 1;
    for (;; ++n) {
        const std::string id = "rId" + std::to_string(n);
        bool used = false;
        for (pugi::xml_node r : root.children("Relationship"))
            if (id == r.attribute("Id").value()) used = true;
        if (!used) break;
    }
    const std::string id = "rId" + std::to_string(n);
    pugi::xml_node r = root.append_child("Relationship");
    r.append_attribute("Id") = id.c_str();
    r.append_attribute("Type") = type.c_str();
    r.append_attribute("Target") = target.c_str();
    return id;
}

std::string relTarget(const pugi::xml_document& rels, const std::string& part, const std::string& id) {
    for (pugi::xml_node r : rels.child("Relationships").children("Relationship"))
        if (id == r.attribute("Id").value()) return Package::resolve(part, r.attribute("Target").value());
    return "";
}

bool loadImage(const std::string& path, Image& img) {
    img = Image{};
    return rec::readFile(path, img.bytes, kMaxImageBytes) && recognise(img);
}

std::string freePartName(const Package& pkg, const std::string& prefix, const std::string& ext) {
    for (int n = 1;; ++n) {
        std::string name = prefix + std::to_string(n) + "." + ext;
        if (!pkg.has(name)) return name;
    }
}

}  // namespace office::ooxml
