#include "office/xlsx_read.h"

#include <pugixml.hpp>

#include <cctype>
#include <climits>

namespace office {

namespace {

constexpr int kMaxRows = 1048576, kMaxColumns = 16384;  // the format's own limits

pugi::xml_document parse(const Package& pkg, const std::string& part) {
    pugi::xml_document d;
    const std::string& bytes = pkg.part(part);
    if (!d.load_buffer(bytes.data(), bytes.size())) throw BadPackage("damaged part " + part);
    return d;
}

// Text of a string item (<si> or <is>): plain <t>, or the <t> of every run.
std::string itemText(const pugi::xml_node& si) {
    std::string s;
    for (pugi::xml_node n = si.first_child(); n; n = n.next_sibling()) {
        const std::string name = n.name();
        if (name == "t") s += n.text().get();
        else if (name == "r") s += n.child("t").text().get();
    }
    return s;
}

}  // namespace

std::string CellTexts::text(int row, int column) const {
    auto it = cells_.find({row, column});
    return it == cells_.end() ? std::string() : it->second;
}

std::string CellTexts::text(std::string_view address) const {
    int r = 0, c = 0;
    return parseAddress(address, r, c) ? text(r, c) : std::string();
}

int CellTexts::filledBelow(int after, int column) const {
    int n = 0;
    for (auto it = cells_.upper_bound({after, INT_MAX}); it != cells_.end(); ++it)
        if (it->first.second == column && !it->second.empty()) ++n;
    return n;
}

void CellTexts::set(int row, int column, std::string t) {
    if (row > lastRow_) lastRow_ = row;
    if (column > lastColumn_) lastColumn_ = column;
    cells_[{row, column}] = std::move(t);
}

bool parseAddress(std::string_view a, int& row, int& column) {
    std::size_t i = 0;
    if (i < a.size() && a[i] == '$') ++i;
    long c = 0;
    const std::size_t letters = i;
    while (i < a.size() && std::isalpha(static_cast<unsigned char>(a[i])) && i - letters < 3)
        c = c * 26 + (std::toupper(static_cast<unsigned char>(a[i++])) - 'A' + 1);
    if (i == letters) return false;
    if (i < a.size() && a[i] == '$') ++i;
    long r = 0;
    const std::size_t digits = i;
    while (i < a.size() && std::isdigit(static_cast<unsigned char>(a[i])) && i - digits < 7)
        r = r * 10 + (a[i++] - '0');
    if (i == digits || i != a.size() || r < 1 || r > kMaxRows || c > kMaxColumns) return false;
    row = static_cast<int>(r);
    column = static_cast<int>(c);
    return true;
}

std::string columnName(int column) {
    std::string s;
    for (int c = column; c > 0; c = (c - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (c - 1) % 26));
    return s;
}

std::string activeSheetPart(const Package& pkg) {
    const auto wb = parse(pkg, "xl/workbook.xml");
    const pugi::xml_node root = wb.child("workbook");
    const int active = root.child("bookViews").child("workbookView").attribute("activeTab").as_int(0);
    std::string rid;
    int i = 0;
    for (pugi::xml_node s : root.child("sheets").children("sheet")) {
        if (i == active || rid.empty()) rid = s.attribute("r:id").value();
        if (i++ == active) break;
    }
    if (rid.empty()) throw BadPackage("workbook without sheets");
    const auto rels = parse(pkg, Package::relsOf("xl/workbook.xml"));
    for (pugi::xml_node r : rels.child("Relationships").children("Relationship"))
        if (rid == r.attribute("Id").value()) return Package::resolve("xl/workbook.xml", r.attribute("Target").value());
    throw BadPackage("workbook sheet without its part");
}

std::vector<std::string> sharedStrings(const Package& pkg) {
    std::vector<std::string> v;
    if (!pkg.has("xl/sharedStrings.xml")) return v;
    const auto d = parse(pkg, "xl/sharedStrings.xml");
    for (pugi::xml_node si : d.child("sst").children("si")) v.push_back(itemText(si));
    return v;
}

CellTexts readActiveSheet(const Package& pkg) {
    const std::vector<std::string> shared = sharedStrings(pkg);
    const auto sheet = parse(pkg, activeSheetPart(pkg));
    CellTexts cells;
    int rowNumber = 0;
    for (pugi::xml_node row : sheet.child("worksheet").child("sheetData").children("row")) {
        // Rows and cells may leave out their position: the next one is meant.
        rowNumber = row.attribute("r") ? row.attribute("r").as_int(0) : rowNumber + 1;
        if (rowNumber < 1 || rowNumber > kMaxRows) continue;
        int column = 0;
        for (pugi::xml_node c : row.children("c")) {
            int r = rowNumber, col = column + 1;
            if (c.attribute("r") && !parseAddress(c.attribute("r").value(), r, col)) continue;
            if (col > kMaxColumns) continue;
            column = col;
            const std::string type = c.attribute("t").value();
            std::string t;
            if (pugi::xml_node f = c.child("f"); f && *f.text().get()) {
                t = std::string("=") + f.text().get();
            } else if (type == "s") {
                const long k = c.child("v").text().as_llong(-1);
                if (k >= 0 && static_cast<std::size_t>(k) < shared.size()) t = shared[static_cast<std::size_t>(k)];
            } else if (type == "inlineStr") {
                t = itemText(c.child("is"));
            } else if (type == "b") {
                t = c.child("v").text().as_int() ? "TRUE" : "FALSE";
            } else {
                t = c.child("v").text().get();
            }
            if (!t.empty()) cells.set(r, col, std::move(t));
        }
    }
    return cells;
}

CellTexts readActiveSheet(const std::string& xlsxPath) { return readActiveSheet(Package::load(xlsxPath)); }

}  // namespace office
