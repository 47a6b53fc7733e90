// Pieces the Word and Excel objects share: XML parts, content types,
// relationships and the pictures they embed. Internal to office/.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

#include "office/package.h"

namespace office::ooxml {

inline constexpr const char* kRelImage = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
inline constexpr const char* kRelDrawing =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";
inline constexpr const char* kNsR = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* kNsA = "http://schemas.openxmlformats.org/drawingml/2006/main";
inline constexpr const char* kNsPic = "http://schemas.openxmlformats.org/drawingml/2006/picture";
inline constexpr const char* kNsWp = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
inline constexpr const char* kNsXdr = "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";

// Parses a part; throws BadPackage when it is missing or not XML.
pugi::xml_document parse(const Package& pkg, const std::string& part);
// A part's relationships ("<Relationships/>" when it has none yet).
pugi::xml_document parseRels(const Package& pkg, const std::string& part);
// The part's text; throws BadPackage when it holds bytes that are not
// UTF-8 text or characters XML forbids.
std::string serialize(const pugi::xml_document& doc);
// Throws BadPackage when the part could not be written back (serialize): a
// template holding bytes that are not text is refused when it is opened,
// not when it is printed.
inline void requireText(const pugi::xml_document& doc) { (void)serialize(doc); }
// A text made fit for a document: valid UTF-8 (other bytes read as the
// settings file's code page, cp1252::asUtf8) without the characters XML
// forbids (control characters other than tab, line feed and carriage
// return; U+FFFE, U+FFFF). Every text a printout puts in goes through it.
std::string xmlText(std::string_view text);

// Content types: a default for an extension, or an override for one part.
void addDefault(pugi::xml_document& types, const std::string& ext, const std::string& contentType);
void setOverride(pugi::xml_document& types, const std::string& partName, const std::string& contentType);
// Adds a relationship; returns its new id ("rId7").
std::string addRelationship(pugi::xml_document& rels, const std::string& type, const std::string& target);
// The target part of relationship `id` of `part`; "" when there is none.
std::string relTarget(const pugi::xml_document& rels, const std::string& part, const std::string& id);

// A picture file recognised by its content (not its name).
struct Image {
    std::string bytes;
    std::string ext;            // "bmp", "png", "jpeg", "gif"
    std::string contentType;    // "image/bmp" ...
    int width = 0, height = 0;  // pixels
    double dpiX = 96, dpiY = 96;
    // Natural size in EMU (914400 per inch).
    long long cx() const { return static_cast<long long>(width * 914400.0 / dpiX + 0.5); }
    long long cy() const { return static_cast<long long>(height * 914400.0 / dpiY + 0.5); }
};
// Reads and recognises a picture file; false when it is missing, unreadable
// or of no known kind.
bool loadImage(const std::string& path, Image& img);

// A new part name "prefix" + n + "." + ext not yet in the package.
std::string freePartName(const Package& pkg, const std::string& prefix, const std::string& ext);

}  // namespace office::ooxml
