#include "office/word.h"

#include <filesystem>
#include <map>

#include "core/ui.h"
#include "office/ooxml.h"
#include "office/package.h"
#include "office/render.h"

namespace office {

namespace {

constexpr const char* kDocPart = "word/document.xml";
constexpr const char* kDocumentType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";

ui::RtError err(int n, const std::string& text) { return ui::RtError(n, text); }

bool isFormattingOnly(const std::string& name) {
    return name != "w:ins" && name != "w:del" && name != "w:moveFrom" && name != "w:moveTo" && name != "w:rPrChange";
}

// What a printout is called in the printouts folder, from its template.
std::string printoutName(const std::string& stem) {
    if (stem.rfind("WordPrt", 0) == 0) return stem.size() > 9 ? "Summary" : "Audit";
    return stem;
}

}  // namespace

struct Word::Impl {
    bool quit = false;
    bool visible = false;
    bool open = false;
    std::string stem;
    Package pkg;
    pugi::xml_document doc, rels, types;
    std::map<std::string, pugi::xml_node> starts;  // bookmark name -> bookmarkStart
    std::map<std::string, pugi::xml_node> ends;    // bookmark id -> bookmarkEnd
    // The selection: new content goes after `anchor` (a node inside a
    // paragraph), or at the start of paragraph `para` when anchor is empty.
    pugi::xml_node anchor, para;
    int pictures = 0;

    void index() {
        starts.clear();
        ends.clear();
        struct Walker : pugi::xml_tree_walker {
            Impl* d;
            bool for_each(pugi::xml_node& n) override {
                const std::string name = n.name();
                if (name == "w:bookmarkStart") d->starts.emplace(n.attribute("w:name").value(), n);
                else if (name == "w:bookmarkEnd") d->ends.emplace(n.attribute("w:id").value(), n);
                return true;
            }
        } w;
        w.d = this;
        doc.traverse(w);
        pugi::xml_node body = doc.child("w:document").child("w:body");
        para = body.child("w:p");
        anchor = pugi::xml_node();
    }

    // Places a copy of `node` at the selection; the selection moves past it.
    pugi::xml_node place(const pugi::xml_node& node) {
        pugi::xml_node added;
        if (anchor) {
            added = anchor.parent().insert_copy_after(node, anchor);
        } else {
            if (!para) para = doc.child("w:document").child("w:body").prepend_child("w:p");
            pugi::xml_node ppr = para.child("w:pPr");
            added = ppr ? para.insert_copy_after(node, ppr) : para.prepend_copy(node);
        }
        anchor = added;
        return added;
    }

    // The formatting new text takes: that of the run before the selection,
    // else that of the paragraph mark.
    pugi::xml_node formatting() const {
        pugi::xml_node p = anchor ? anchor.parent() : para;
        for (pugi::xml_node n = anchor; n; n = n.previous_sibling())
            if (std::string(n.name()) == "w:r" && n.child("w:rPr")) return n.child("w:rPr");
        return p.child("w:pPr").child("w:rPr");
    }

    std::string bookmarkText(const std::string& name) const {
        auto s = starts.find(name);
        if (s == starts.end()) return "";
        auto e = ends.find(s->second.attribute("w:id").value());
        pugi::xml_node from =
            e != ends.end() && std::string(e->second.parent().name()) == "w:p" ? e->second : s->second;
        std::string text;
        for (pugi::xml_node n = from.next_sibling(); n; n = n.next_sibling()) {
            const std::string nn = n.name();
            if (nn == "w:bookmarkStart" || nn == "w:bookmarkEnd") break;
            if (nn != "w:r") continue;
            for (pugi::xml_node c : n.children()) {
                const std::string cn = c.name();
                if (cn == "w:t") text += c.text().get();
                else if (cn == "w:tab") text += '\t';
                else if (cn == "w:br") text += '\n';
            }
        }
        return text;
    }
};

Word::Word() : d_(std::make_unique<Impl>()) {
    if (!officeAvailable()) throw err(429, kNeedsLibreOffice);
    documents_.w_ = this;
    document_.w_ = this;
    selection_.w_ = this;
}

Word::~Word() = default;

void Word::alive() const {
    if (d_->quit) throw err(462, "The remote server machine does not exist or is unavailable");
}

Word::Impl& Word::doc() {
    alive();
    if (!d_->open) throw err(4248, "This command is not available because no document is open.");
    return *d_;
}

Word::DocumentsObj& Word::Documents() {
    alive();
    return documents_;
}

Word::DocumentObj& Word::ActiveDocument() {
    doc();
    return document_;
}

Word::SelectionObj& Word::Selection() {
    alive();
    return selection_;
}

void Word::Visible(bool on) {
    alive();
    d_->visible = on;
}

bool Word::Visible() const { return d_->visible; }

void Word::Quit() {
    d_->open = false;
    d_->quit = true;
}

// ---------------------------------------------------------------- Open ----

void Word::DocumentsObj::Open(const std::string& fileName) {
    w_->alive();
    Impl& d = *w_->d_;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec))
        throw err(5174, "This file could not be found.\r\n(" + fileName + ")");
    try {
        Package pkg = Package::load(fileName);
        pugi::xml_document doc = ooxml::parse(pkg, kDocPart);
        if (!doc.child("w:document").child("w:body")) throw BadPackage("no document body");
        d.rels = ooxml::parseRels(pkg, kDocPart);
        d.types = ooxml::parse(pkg, "[Content_Types].xml");
        for (const pugi::xml_document* part : {&doc, &d.rels, &d.types}) ooxml::requireText(*part);
        d.doc.reset(doc);
        d.pkg = std::move(pkg);
    } catch (const BadPackage&) {
        throw err(5792, "The file appears to be corrupted.\r\n(" + fileName + ")");
    }
    d.stem = std::filesystem::path(fileName).stem().string();
    d.open = true;
    d.pictures = 0;
    d.index();
}

// ----------------------------------------------------------- bookmarks ----

Word::BookmarkObj Word::DocumentObj::Bookmarks(const std::string& name) {
    Impl& d = w_->doc();
    if (!d.starts.count(name)) throw err(5941, "The requested member of the collection does not exist.");
    BookmarkObj b;
    b.w_ = w_;
    b.name_ = name;
    return b;
}

void Word::BookmarkObj::Select() {
    Impl& d = w_->doc();
    auto s = d.starts.find(name_);
    if (s == d.starts.end()) throw err(5941, "The requested member of the collection does not exist.");
    auto e = d.ends.find(s->second.attribute("w:id").value());
    pugi::xml_node end = e != d.ends.end() ? e->second : s->second;
    if (std::string(end.parent().name()) == "w:p") {
        d.anchor = end;
    } else if (std::string(s->second.parent().name()) == "w:p") {
        d.anchor = s->second;
    } else if (std::string(end.next_sibling().name()) == "w:p") {
        // A bookmark between paragraphs: the selection is the start of the next one.
        d.anchor = pugi::xml_node();
        d.para = end.next_sibling();
    } else {
        throw err(5941, "The requested member of the collection does not exist.");
    }
}

// ----------------------------------------------------------- selection ----

void Word::SelectionObj::InsertAfter(const std::string& raw) {
    Impl& d = w_->doc();
    const std::string text = ooxml::xmlText(raw);
    pugi::xml_document frag;
    pugi::xml_node r = frag.append_child("w:r");
    if (pugi::xml_node f = d.formatting()) {
        pugi::xml_node rpr = r.append_child("w:rPr");
        for (pugi::xml_node c : f.children())
            if (isFormattingOnly(c.name())) rpr.append_copy(c);
    }
    std::string piece;
    auto flush = [&] {
        if (piece.empty()) return;
        pugi::xml_node t = r.append_child("w:t");
        t.append_attribute("xml:space") = "preserve";
        t.text() = piece.c_str();
        piece.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t') {
            flush();
            r.append_child("w:tab");
        } else if (c == '\r' || c == '\n') {
            flush();
            r.append_child("w:br");
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            piece += c;
        }
    }
    flush();
    d.place(r);
}

Word::InlineShapesObj Word::SelectionObj::InlineShapes() {
    w_->alive();
    InlineShapesObj s;
    s.w_ = w_;
    return s;
}

void Word::InlineShapesObj::AddPicture(const std::string& FileName, bool LinkToFile, bool SaveWithDocument) {
    (void)LinkToFile;  // pictures are always embedded: the document travels alone
    (void)SaveWithDocument;
    Impl& d = w_->doc();
    ooxml::Image img;
    if (!ooxml::loadImage(FileName, img)) throw err(5152, ui::ErrorText(5152) + "\r\n(" + FileName + ")");

    const std::string media = ooxml::freePartName(d.pkg, "word/media/image", img.ext);
    d.pkg.set(media, img.bytes);
    ooxml::addDefault(d.types, img.ext, img.contentType);
    const std::string rid = ooxml::addRelationship(d.rels, ooxml::kRelImage, media.substr(5));  // "media/..."

    pugi::xml_node root = d.doc.child("w:document");
    if (!root.attribute("xmlns:wp")) root.append_attribute("xmlns:wp") = ooxml::kNsWp;
    if (!root.attribute("xmlns:r")) root.append_attribute("xmlns:r") = ooxml::kNsR;

    const int id = 1000 + ++d.pictures;
    const std::string cx = std::to_string(img.cx()), cy = std::to_string(img.cy());
    const std::string name = std::filesystem::path(media).filename().string();
    const std::string xml =
        "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
        "<wp:extent cx=\"" +
        cx + "\" cy=\"" + cy + "\"/><wp:docPr id=\"" + std::to_string(id) + "\" name=\"Picture " + std::to_string(id) +
        "\"/>"
        "<wp:cNvGraphicFramePr><a:graphicFrameLocks xmlns:a=\"" +
        ooxml::kNsA +
        "\" noChangeAspect=\"1\"/></wp:cNvGraphicFramePr>"
        "<a:graphic xmlns:a=\"" +
        ooxml::kNsA + "\"><a:graphicData uri=\"" + ooxml::kNsPic +
        "\">"
        "<pic:pic xmlns:pic=\"" +
        ooxml::kNsPic + "\"><pic:nvPicPr><pic:cNvPr id=\"0\" name=\"" + name +
        "\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" + rid +
        "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/>"
        "<a:ext cx=\"" +
        cx + "\" cy=\"" + cy +
        "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>"
        "</pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    pugi::xml_document frag;
    frag.load_string(xml.c_str());
    d.place(frag.first_child());
}

// --------------------------------------------------- print, close, save ----

void Word::DocumentObj::saveCopy(const std::string& path) {
    Impl& d = w_->doc();
    Package copy = d.pkg;
    ooxml::setOverride(d.types, kDocPart, kDocumentType);
    copy.set(kDocPart, ooxml::serialize(d.doc));
    copy.set(Package::relsOf(kDocPart), ooxml::serialize(d.rels));
    copy.set("[Content_Types].xml", ooxml::serialize(d.types));
    copy.save(path);
}

void Word::DocumentObj::PrintOut(bool Background) {
    (void)Background;  // printing always runs to its end before PrintOut returns
    Impl& d = w_->doc();
    // A full temporary folder is named; the number stays the one the
    // printouts handle.
    try {
        const std::string file = saveForPrinting(d.stem + ".docx", [this](const std::string& p) { saveCopy(p); });
        printFile(file, printoutName(d.stem));
    } catch (const RenderError& e) {
        throw err(4198, std::string("Command failed\r\n") + e.what());
    }
}

void Word::DocumentObj::Close(bool SaveChanges) {
    (void)SaveChanges;  // the template is never written
    Impl& d = w_->doc();
    d.open = false;
    d.doc.reset();
    d.pkg = Package();
    d.starts.clear();
    d.ends.clear();
    d.anchor = d.para = pugi::xml_node();
}

std::string Word::DocumentObj::textAt(const std::string& bookmark) { return w_->doc().bookmarkText(bookmark); }

int Word::DocumentObj::pictureCount() { return w_->doc().pictures; }

}  // namespace office
