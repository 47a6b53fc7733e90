#include "office/excel.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <vector>

#include "core/ui.h"
#include "office/ooxml.h"
#include "office/package.h"
#include "office/render.h"
#include "office/xlsx_read.h"

namespace office {

namespace {

constexpr const char* kWorkbook = "xl/workbook.xml";
constexpr const char* kDrawingType = "application/vnd.openxmlformats-officedocument.drawing+xml";
constexpr double kEmuPerPoint = 12700;

ui::RtError err(int n, const std::string& text) { return ui::RtError(n, text); }
ui::RtError failed(const std::string& what) { return err(1004, what); }

template <class T> std::string shortest(T v) {
    char b[64];
    auto r = std::to_chars(b, b + sizeof b, v);
    return std::string(b, r.ptr);
}

// Worksheet children that must come after <drawing> (the schema's order).
bool afterDrawing(const std::string& n) {
    for (const char* a : {"legacyDrawing", "legacyDrawingHF", "drawingHF", "picture", "oleObjects", "controls",
                          "webPublishItems", "tableParts", "extLst"})
        if (n == a) return true;
    return false;
}

std::string prefixOf(const pugi::xml_node& n) {
    const std::string name = n.name();
    const auto colon = name.find(':');
    return colon == std::string::npos ? std::string() : name.substr(0, colon + 1);
}

}  // namespace

struct Excel::Impl {
    bool quit = false;
    bool open = false;
    std::string stem;
    Package pkg;
    std::string sheetPart, drawingPart;
    int sheetIndex = 0;
    std::string sheetName;
    pugi::xml_document sheet, sheetRels, workbook, types, drawing, drawingRels;
    std::vector<std::string> shared;
    std::map<int, pugi::xml_node> rows;
    std::map<std::pair<int, int>, pugi::xml_node> cells;
    int row = 1, col = 1;  // the active cell
    struct Pic {
        pugi::xml_node anchor;
        bool lock = true;
    };
    std::vector<Pic> pics;
    int selectedPic = -1;  // -1: the selection is the active cell
    int nextId = 1000;

    void indexCells() {
        rows.clear();
        cells.clear();
        for (pugi::xml_node r : sheet.child("worksheet").child("sheetData").children("row")) {
            const int rn = r.attribute("r").as_int(0);
            if (rn > 0) rows[rn] = r;
            for (pugi::xml_node c : r.children("c")) {
                int cr = 0, cc = 0;
                if (parseAddress(c.attribute("r").value(), cr, cc)) cells[{cr, cc}] = c;
            }
        }
    }

    pugi::xml_node cell(int r, int c, bool create) {
        auto it = cells.find({r, c});
        if (it != cells.end() || !create) return it == cells.end() ? pugi::xml_node() : it->second;
        pugi::xml_node data = sheet.child("worksheet").child("sheetData");
        if (!data) throw failed("the sheet has no cells");
        pugi::xml_node rowNode;
        if (auto ri = rows.find(r); ri != rows.end()) {
            rowNode = ri->second;
        } else {
            auto next = rows.upper_bound(r);
            rowNode = next == rows.end() ? data.append_child("row") : data.insert_child_before("row", next->second);
            rowNode.append_attribute("r") = r;
            rows[r] = rowNode;
        }
        pugi::xml_node before;
        for (pugi::xml_node x : rowNode.children("c")) {
            int xr = 0, xc = 0;
            if (parseAddress(x.attribute("r").value(), xr, xc) && xc > c) {
                before = x;
                break;
            }
        }
        pugi::xml_node cn = before ? rowNode.insert_child_before("c", before) : rowNode.append_child("c");
        cn.append_attribute("r") = (columnName(c) + std::to_string(r)).c_str();
        cells[{r, c}] = cn;
        return cn;
    }

    static void clearValue(pugi::xml_node c) {
        c.remove_attribute("t");
        while (c.child("f")) c.remove_child("f");
        while (c.child("v")) c.remove_child("v");
        while (c.child("is")) c.remove_child("is");
    }

    std::string text(int r, int c) const {
        auto it = cells.find({r, c});
        if (it == cells.end()) return "";
        const pugi::xml_node n = it->second;
        const std::string t = n.attribute("t").value();
        if (pugi::xml_node f = n.child("f"); f && *f.text().get()) return std::string("=") + f.text().get();
        if (t == "s") {
            const long k = n.child("v").text().as_llong(-1);
            return k >= 0 && static_cast<std::size_t>(k) < shared.size() ? shared[static_cast<std::size_t>(k)] : "";
        }
        if (t == "inlineStr") {
            std::string s;
            for (pugi::xml_node x = n.child("is").first_child(); x; x = x.next_sibling()) {
                if (std::string(x.name()) == "t") s += x.text().get();
                else if (std::string(x.name()) == "r") s += x.child("t").text().get();
            }
            return s;
        }
        if (t == "b") return n.child("v").text().as_int() ? "TRUE" : "FALSE";
        return n.child("v").text().get();
    }

    // The sheet's drawing part, made when the sheet has none.
    void ensureDrawing() {
        if (!drawingPart.empty()) return;
        pugi::xml_node ws = sheet.child("worksheet");
        const std::string name = ooxml::freePartName(pkg, "xl/drawings/drawing", "xml");
        drawing.reset();
        pugi::xml_node root = drawing.append_child("xdr:wsDr");
        root.append_attribute("xmlns:xdr") = ooxml::kNsXdr;
        root.append_attribute("xmlns:a") = ooxml::kNsA;
        pkg.set(name, ooxml::serialize(drawing));
        ooxml::setOverride(types, name, kDrawingType);
        const std::string rid = ooxml::addRelationship(sheetRels, ooxml::kRelDrawing, "../drawings/" + name.substr(12));
        if (!ws.attribute("xmlns:r")) ws.append_attribute("xmlns:r") = ooxml::kNsR;
        pugi::xml_node before;
        for (pugi::xml_node n : ws.children())
            if (afterDrawing(n.name())) {
                before = n;
                break;
            }
        pugi::xml_node d = before ? ws.insert_child_before("drawing", before) : ws.append_child("drawing");
        d.append_attribute("r:id") = rid.c_str();
        drawingPart = name;
        drawingRels = ooxml::parseRels(pkg, name);
    }

    Pic& selected() {
        if (selectedPic < 0 || selectedPic >= static_cast<int>(pics.size()))
            throw err(438, "Object doesn't support this property or method");
        return pics[static_cast<std::size_t>(selectedPic)];
    }

    // Sets the picture's size in EMU in both places the format keeps it.
    static void setSize(pugi::xml_node anchor, long long cx, long long cy) {
        const std::string p = prefixOf(anchor);
        pugi::xml_node ext = anchor.child((p + "ext").c_str());
        ext.attribute("cx") = cx;
        ext.attribute("cy") = cy;
        pugi::xml_node aext =
            anchor.child((p + "pic").c_str()).child((p + "spPr").c_str()).child("a:xfrm").child("a:ext");
        aext.attribute("cx") = cx;
        aext.attribute("cy") = cy;
    }
    static long long size(pugi::xml_node anchor, const char* which) {
        return anchor.child((prefixOf(anchor) + "ext").c_str()).attribute(which).as_llong();
    }

    void serializeInto(Package& copy) {
        copy.set(sheetPart, ooxml::serialize(sheet));
        copy.set(kWorkbook, ooxml::serialize(workbook));
        copy.set("[Content_Types].xml", ooxml::serialize(types));
        if (sheetRels.child("Relationships").first_child())
            copy.set(Package::relsOf(sheetPart), ooxml::serialize(sheetRels));
        if (!drawingPart.empty()) {
            copy.set(drawingPart, ooxml::serialize(drawing));
            copy.set(Package::relsOf(drawingPart), ooxml::serialize(drawingRels));
        }
    }
};

Excel::Excel() : d_(std::make_unique<Impl>()) {
    if (!officeAvailable()) throw err(429, kNeedsLibreOffice);
    workbooks_.x_ = this;
    cell_.x_ = this;
    sheet_.x_ = this;
    selection_.x_ = this;
}

Excel::~Excel() = default;

void Excel::alive() const {
    if (d_->quit) throw err(462, "The remote server machine does not exist or is unavailable");
}

Excel::Impl& Excel::book() {
    alive();
    if (!d_->open) throw failed("Application-defined or object-defined error");
    return *d_;
}

Excel::WorkbooksObj& Excel::Workbooks() {
    alive();
    return workbooks_;
}

Excel::CellObj& Excel::ActiveCell() {
    book();
    return cell_;
}

Excel::SheetObj& Excel::ActiveSheet() {
    book();
    return sheet_;
}

Excel::SelectionObj& Excel::Selection() {
    book();
    return selection_;
}

void Excel::Quit() {
    d_->open = false;
    d_->quit = true;
}

// ---------------------------------------------------------------- Open ----

void Excel::WorkbooksObj::Open(const std::string& fileName) {
    x_->alive();
    Impl& d = *x_->d_;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec))
        throw failed(
            "'" + fileName +
            "' could not be found. Check the spelling of the file name, and verify that the file location is correct.");
    try {
        d.pkg = Package::load(fileName);
        d.sheetPart = activeSheetPart(d.pkg);
        d.sheet = ooxml::parse(d.pkg, d.sheetPart);
        if (!d.sheet.child("worksheet").child("sheetData")) throw BadPackage("no cells");
        d.sheetRels = ooxml::parseRels(d.pkg, d.sheetPart);
        d.workbook = ooxml::parse(d.pkg, kWorkbook);
        d.types = ooxml::parse(d.pkg, "[Content_Types].xml");
        d.shared = sharedStrings(d.pkg);
        // Which sheet is active, and its name, for the print area.
        const pugi::xml_document wbRels = ooxml::parseRels(d.pkg, kWorkbook);
        d.sheetIndex = 0;
        int i = 0;
        for (pugi::xml_node s : d.workbook.child("workbook").child("sheets").children("sheet")) {
            if (ooxml::relTarget(wbRels, kWorkbook, s.attribute("r:id").value()) == d.sheetPart) {
                d.sheetIndex = i;
                d.sheetName = s.attribute("name").value();
            }
            ++i;
        }
        d.drawingPart.clear();
        d.pics.clear();
        if (pugi::xml_node dr = d.sheet.child("worksheet").child("drawing")) {
            d.drawingPart = ooxml::relTarget(d.sheetRels, d.sheetPart, dr.attribute("r:id").value());
            d.drawing = ooxml::parse(d.pkg, d.drawingPart);
            d.drawingRels = ooxml::parseRels(d.pkg, d.drawingPart);
        }
        for (const pugi::xml_document* part : {&d.sheet, &d.sheetRels, &d.workbook, &d.types})
            ooxml::requireText(*part);
        if (!d.drawingPart.empty()) {
            ooxml::requireText(d.drawing);
            ooxml::requireText(d.drawingRels);
        }
    } catch (const BadPackage&) {
        throw failed("Excel cannot open the file '" + fileName +
                     "' because the file format or file extension is not valid.");
    }
    // LibreOffice recalculates the copy when it renders it.
    pugi::xml_node wb = d.workbook.child("workbook");
    pugi::xml_node calc = wb.child("calcPr");
    if (!calc) calc = wb.append_child("calcPr");
    if (!calc.attribute("fullCalcOnLoad")) calc.append_attribute("fullCalcOnLoad");
    calc.attribute("fullCalcOnLoad") = "1";

    d.stem = std::filesystem::path(fileName).stem().string();
    d.indexCells();
    d.row = d.col = 1;
    d.selectedPic = -1;
    d.open = true;
}

// ------------------------------------------------------ cells, ranges ----

Excel::RangeObj Excel::Range(const std::string& address) {
    book();
    RangeObj r;
    r.x_ = this;
    if (!parseAddress(address, r.row_, r.col_)) throw failed("Method 'Range' of object '_Global' failed");
    return r;
}

void Excel::RangeObj::Select() {
    Impl& d = x_->book();
    d.row = row_;
    d.col = col_;
    d.selectedPic = -1;
}

void Excel::CellObj::FormulaR1C1(const std::string& text) {
    Impl& d = x_->book();
    pugi::xml_node c = d.cell(d.row, d.col, !text.empty());
    if (!c) return;
    Impl::clearValue(c);
    if (text.empty()) return;
    c.append_attribute("t") = "inlineStr";
    pugi::xml_node t = c.append_child("is").append_child("t");
    t.append_attribute("xml:space") = "preserve";
    t.text() = ooxml::xmlText(text).c_str();
}

void Excel::CellObj::FormulaR1C1(float number) {
    if (!std::isfinite(number)) throw failed("Application-defined or object-defined error");
    Impl& d = x_->book();
    pugi::xml_node c = d.cell(d.row, d.col, true);
    Impl::clearValue(c);
    c.append_child("v").text() = shortest(number).c_str();
}

void Excel::CellObj::FormulaR1C1(double number) {
    if (!std::isfinite(number)) throw failed("Application-defined or object-defined error");
    Impl& d = x_->book();
    pugi::xml_node c = d.cell(d.row, d.col, true);
    Impl::clearValue(c);
    c.append_child("v").text() = shortest(number).c_str();
}

std::string Excel::CellObj::FormulaR1C1() const {
    Impl& d = x_->book();
    return d.text(d.row, d.col);
}

// ------------------------------------------------------------ pictures ----

Excel::PicturesObj Excel::SheetObj::Pictures() {
    x_->book();
    PicturesObj p;
    p.x_ = x_;
    return p;
}

Excel::PictureObj Excel::PicturesObj::Insert(const std::string& FileName) {
    Impl& d = x_->book();
    ooxml::Image img;
    if (!ooxml::loadImage(FileName, img)) throw failed("Unable to get the Insert property of the Pictures class");
    d.ensureDrawing();
    const std::string media = ooxml::freePartName(d.pkg, "xl/media/image", img.ext);
    d.pkg.set(media, img.bytes);
    ooxml::addDefault(d.types, img.ext, img.contentType);
    const std::string rid = ooxml::addRelationship(d.drawingRels, ooxml::kRelImage, "../media/" + media.substr(9));

    pugi::xml_node root = d.drawing.first_child();
    const std::string p = prefixOf(root);
    if (!root.attribute("xmlns:a")) root.append_attribute("xmlns:a") = ooxml::kNsA;
    if (!root.attribute("xmlns:r")) root.append_attribute("xmlns:r") = ooxml::kNsR;
    const int id = ++d.nextId;
    const std::string cx = std::to_string(img.cx()), cy = std::to_string(img.cy());
    const std::string xml =
        "<" + p + "oneCellAnchor><" + p + "from><" + p + "col>" + std::to_string(d.col - 1) + "</" + p + "col><" + p +
        "colOff>0</" + p + "colOff><" + p + "row>" + std::to_string(d.row - 1) + "</" + p + "row><" + p + "rowOff>0</" +
        p + "rowOff></" + p + "from><" + p + "ext cx=\"" + cx + "\" cy=\"" + cy + "\"/><" + p + "pic><" + p +
        "nvPicPr><" + p + "cNvPr id=\"" + std::to_string(id) + "\" name=\"Picture " + std::to_string(id) + "\"/><" + p +
        "cNvPicPr><a:picLocks noChangeAspect=\"1\"/></" + p + "cNvPicPr></" + p + "nvPicPr><" + p +
        "blipFill><a:blip r:embed=\"" + rid + "\"/><a:stretch><a:fillRect/></a:stretch></" + p + "blipFill><" + p +
        "spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" + cx + "\" cy=\"" + cy +
        "\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></" +
        p + "spPr></" + p + "pic><" + p + "clientData/></" + p + "oneCellAnchor>";
    pugi::xml_document frag;
    if (!frag.load_string(xml.c_str())) throw failed("Unable to get the Insert property of the Pictures class");
    Impl::Pic pic;
    pic.anchor = root.append_copy(frag.first_child());
    d.pics.push_back(pic);
    PictureObj po;
    po.x_ = x_;
    po.index_ = static_cast<int>(d.pics.size()) - 1;
    return po;
}

void Excel::PictureObj::Select() {
    Impl& d = x_->book();
    d.selectedPic = index_;
}

Excel::ShapeRangeObj Excel::SelectionObj::ShapeRange() {
    x_->book().selected();
    ShapeRangeObj s;
    s.x_ = x_;
    return s;
}

void Excel::ShapeRangeObj::LockAspectRatio(bool on) {
    Impl::Pic& p = x_->book().selected();
    p.lock = on;
    const std::string pre = prefixOf(p.anchor);
    p.anchor.child((pre + "pic").c_str())
        .child((pre + "nvPicPr").c_str())
        .child((pre + "cNvPicPr").c_str())
        .child("a:picLocks")
        .attribute("noChangeAspect") = on ? "1" : "0";
}

void Excel::ShapeRangeObj::Height(double points) {
    Impl::Pic& p = x_->book().selected();
    if (!(points > 0) || points > 20000) throw failed("Application-defined or object-defined error");
    const long long cy = std::llround(points * kEmuPerPoint), oldCy = Impl::size(p.anchor, "cy");
    long long cx = Impl::size(p.anchor, "cx");
    if (p.lock && oldCy > 0)
        cx = std::llround(static_cast<double>(cx) * static_cast<double>(cy) / static_cast<double>(oldCy));
    Impl::setSize(p.anchor, cx, cy);
}

void Excel::ShapeRangeObj::Width(double points) {
    Impl::Pic& p = x_->book().selected();
    if (!(points > 0) || points > 20000) throw failed("Application-defined or object-defined error");
    const long long cx = std::llround(points * kEmuPerPoint), oldCx = Impl::size(p.anchor, "cx");
    long long cy = Impl::size(p.anchor, "cy");
    if (p.lock && oldCx > 0)
        cy = std::llround(static_cast<double>(cy) * static_cast<double>(cx) / static_cast<double>(oldCx));
    Impl::setSize(p.anchor, cx, cy);
}

double Excel::ShapeRangeObj::Height() const {
    return static_cast<double>(Impl::size(x_->book().selected().anchor, "cy")) / kEmuPerPoint;
}
double Excel::ShapeRangeObj::Width() const {
    return static_cast<double>(Impl::size(x_->book().selected().anchor, "cx")) / kEmuPerPoint;
}

// ---------------------------------------------------------- page setup ----

Excel::PageSetupObj Excel::SheetObj::PageSetup() {
    x_->book();
    PageSetupObj p;
    p.x_ = x_;
    return p;
}

void Excel::PageSetupObj::PrintArea(const std::string& area) {
    Impl& d = x_->book();
    const auto colon = area.find(':');
    int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    if (colon == std::string::npos || !parseAddress(area.substr(0, colon), r1, c1) ||
        !parseAddress(area.substr(colon + 1), r2, c2))
        throw failed("Unable to set the PrintArea property of the PageSetup class");
    if (r2 < r1) std::swap(r1, r2);
    if (c2 < c1) std::swap(c1, c2);
    std::string quoted = "'";
    for (char ch : d.sheetName) quoted += ch == '\'' ? std::string("''") : std::string(1, ch);
    const std::string ref =
        quoted + "'!$" + columnName(c1) + "$" + std::to_string(r1) + ":$" + columnName(c2) + "$" + std::to_string(r2);

    pugi::xml_node wb = d.workbook.child("workbook");
    pugi::xml_node names = wb.child("definedNames");
    if (!names) {
        pugi::xml_node after = wb.child("sheets");
        for (const char* n : {"functionGroups", "externalReferences"})
            if (wb.child(n)) after = wb.child(n);
        names = after ? wb.insert_child_after("definedNames", after) : wb.append_child("definedNames");
    }
    for (pugi::xml_node n = names.child("definedName"); n;) {
        pugi::xml_node next = n.next_sibling("definedName");
        if (std::string(n.attribute("name").value()) == "_xlnm.Print_Area" &&
            n.attribute("localSheetId").as_int(-1) == d.sheetIndex)
            names.remove_child(n);
        n = next;
    }
    pugi::xml_node def = names.append_child("definedName");
    def.append_attribute("name") = "_xlnm.Print_Area";
    def.append_attribute("localSheetId") = d.sheetIndex;
    def.text() = ref.c_str();
}

std::string Excel::PageSetupObj::PrintArea() const {
    Impl& d = x_->book();
    for (pugi::xml_node n : d.workbook.child("workbook").child("definedNames").children("definedName"))
        if (std::string(n.attribute("name").value()) == "_xlnm.Print_Area" &&
            n.attribute("localSheetId").as_int(-1) == d.sheetIndex) {
            const std::string v = n.text().get();
            const auto bang = v.rfind('!');
            return bang == std::string::npos ? v : v.substr(bang + 1);
        }
    return "";
}

// ------------------------------------------------------- print, save ----

void Excel::saveCopy(const std::string& path) {
    Impl& d = book();
    Package copy = d.pkg;
    d.serializeInto(copy);
    copy.save(path);
}

int Excel::pictureCount() const { return static_cast<int>(d_->pics.size()); }

void Excel::SheetObj::PrintOut() {
    Impl& d = x_->book();
    try {
        const std::string file = saveForPrinting(d.stem + ".xlsx", [this](const std::string& p) { x_->saveCopy(p); });
        printFile(file, d.stem.rfind("ENERGY COSTS", 0) == 0 ? "Energy costs" : d.stem);
    } catch (const RenderError& e) {
        throw failed(std::string("PrintOut method of Worksheet class failed\r\n") + e.what());
    }
}

}  // namespace office
