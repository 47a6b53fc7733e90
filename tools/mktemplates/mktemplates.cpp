// Build tool: makes the printouts' Word templates, energy-cost workbooks and
// pictures from their readable sources in templates/. One file on purpose
// (about 850 lines): a build step with one job, whose layout reader, Word
// and workbook writers and picture painter serve only each other.
//
//   mktemplates <templates folder> <output folder>
//
// - word/audit.layout and word/summary.layout, each with the company
//   variants (heading1/heading2.layout) and the brands of brands.txt, give
//   WordPrt1a.dotx ... WordPrt2c.dotx and WordPrt1aa.dotx ... WordPrt2cc.dotx;
// - excel/energy.layout gives ENERGY COSTS.xlsx (variant 1) and
//   ENERGY COSTS2.xlsx (variant 2);
// - the heat-pump pictures hppic<n><b>.bmp (with the fallbacks "hppic3" and
//   "hppic1", no extension), hpopen<n><b>.bmp and the logos
//   "ksl logo2<b>.bmp" are drawn with Qt.
// The layout syntax is described at the top of each layout file.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "office/package.h"
#include "office/xlsx_read.h"

namespace fs = std::filesystem;

namespace {

struct Brand {
    std::string letter;
    int number = 0;
    std::string name, dark, main, light;
};

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

std::string readText(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    if (!f) fail("cannot read " + p.string());
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string xmlEscape(const std::string& s) {
    std::string o;
    for (char c : s) {
        switch (c) {
            case '&': o += "&amp;"; break;
            case '<': o += "&lt;"; break;
            case '>': o += "&gt;"; break;
            case '"': o += "&quot;"; break;
            default: o += c;
        }
    }
    return o;
}

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

std::string trim(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// The words of a line; a "quoted text" is one word (quotes kept).
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> w;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        if (i >= line.size()) break;
        std::size_t j = i;
        if (line[i] == '"') {
            j = line.find('"', i + 1);
            if (j == std::string::npos) fail("unclosed quote: " + line);
            ++j;
        } else {
            while (j < line.size() && line[j] != ' ') ++j;
        }
        w.push_back(line.substr(i, j - i));
        i = j;
    }
    return w;
}

std::vector<Brand> readBrands(const fs::path& file) {
    std::vector<Brand> v;
    std::istringstream in(readText(file));
    for (std::string line; std::getline(in, line);) {
        line = trim(line);
        if (line.empty() || line[0] == '#') continue;
        std::istringstream l(line);
        Brand b;
        l >> b.letter >> b.number >> b.name >> b.dark >> b.main >> b.light;
        if (!l) fail("bad brand line: " + line);
        v.push_back(b);
    }
    return v;
}

// Lines of a layout with includes and repeats expanded; comments dropped.
std::vector<std::string> expand(const fs::path& dir, const std::string& file, int variant) {
    std::vector<std::string> raw;
    std::istringstream in(readText(dir / replaceAll(file, "{variant}", std::to_string(variant))));
    for (std::string line; std::getline(in, line);) {
        line = trim(line);
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("include ", 0) == 0) {
            for (auto& l : expand(dir, trim(line.substr(8)), variant)) raw.push_back(l);
            continue;
        }
        raw.push_back(line);
    }
    std::vector<std::string> out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto w = words(raw[i]);
        if (w[0] == "repeat") {
            if (w.size() != 4) fail("repeat VAR FIRST LAST: " + raw[i]);
            std::vector<std::string> body;
            std::size_t j = i + 1;
            for (; j < raw.size() && raw[j] != "end"; ++j) body.push_back(raw[j]);
            if (j == raw.size()) fail("repeat without end");
            for (int v = std::stoi(w[2]); v <= std::stoi(w[3]); ++v)
                for (const auto& b : body) out.push_back(replaceAll(b, "{" + w[1] + "}", std::to_string(v)));
            i = j;
            continue;
        }
        if (w[0] == "if") {
            if (w.size() != 3 || w[1] != "variant") fail("if variant N: " + raw[i]);
            std::size_t j = i + 1;
            std::vector<std::string> body;
            for (; j < raw.size() && raw[j] != "end"; ++j) body.push_back(raw[j]);
            if (j == raw.size()) fail("if without end");
            if (std::stoi(w[2]) == variant) out.insert(out.end(), body.begin(), body.end());
            i = j;
            continue;
        }
        out.push_back(raw[i]);
    }
    return out;
}

// ================================================================ pictures

QColor rgb(const std::string& hex) { return QColor(QString::fromStdString("#" + hex)); }

void saveBmp(QImage img, const fs::path& path) {
    img = img.convertToFormat(QImage::Format_RGB888);
    img.setDotsPerMeterX(3780);  // 96 dpi
    img.setDotsPerMeterY(3780);
    if (!img.save(QString::fromStdString(path.string()), "BMP")) fail("cannot write " + path.string());
}

// A heat-pump unit: cabinet in the brand's colours, fan grille, badge.
// `open` draws it with the service panel off (the chart's pictures);
// `model` 1..3 makes the three sizes of a series.
QImage heatPump(const Brand& b, int number, bool open, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int model = number == 0 ? 2 : (number - 1) % 3 + 1;
    const double scale = 0.78 + 0.07 * model;
    const QRectF box((w - w * 0.8 * scale) / 2, h * 0.08 + h * 0.84 * (1 - scale), w * 0.8 * scale, h * 0.84 * scale);
    QLinearGradient g(box.topLeft(), box.bottomRight());
    g.setColorAt(0, rgb(b.light));
    g.setColorAt(1, QColor(200, 205, 210));
    p.setPen(QPen(rgb(b.dark), 2));
    p.setBrush(g);
    p.drawRoundedRect(box, 6, 6);
    // fan grille on top of the cabinet
    const QRectF fan(box.center().x() - box.width() * 0.3, box.top() + box.height() * 0.08, box.width() * 0.6,
                     box.width() * 0.6);
    p.setBrush(QColor(60, 64, 70));
    p.drawEllipse(fan);
    p.setPen(QPen(QColor(150, 155, 160), 1));
    for (int r = 1; r <= 4; ++r) {
        const double k = r / 5.0;
        p.drawEllipse(fan.center(), fan.width() / 2 * k, fan.height() / 2 * k);
    }
    // louvres or, opened, the coil and compressor
    const QRectF lower(box.left() + 8, fan.bottom() + 6, box.width() - 16, box.bottom() - fan.bottom() - 14);
    if (open) {
        p.setPen(QPen(rgb(b.main), 1.5));
        for (double y = lower.top() + 3; y < lower.bottom() - 3; y += 4)
            p.drawLine(QPointF(lower.left(), y), QPointF(lower.right() * 0.6 + lower.left() * 0.4, y));
        p.setBrush(QColor(90, 90, 95));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(lower.right() - lower.width() * 0.32, lower.center().y() - lower.height() * 0.3,
                                 lower.width() * 0.28, lower.height() * 0.6),
                          5, 5);
    } else {
        p.setPen(QPen(rgb(b.dark), 1));
        for (double y = lower.top() + 4; y < lower.bottom() - 2; y += 5)
            p.drawLine(QPointF(lower.left(), y), QPointF(lower.right(), y));
    }
    // badge with the brand
    const QRectF badge(box.left() + box.width() * 0.15, box.bottom() - box.height() * 0.2, box.width() * 0.7,
                       box.height() * 0.13);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(b.main));
    p.drawRoundedRect(badge, 3, 3);
    QFont f("Liberation Sans");
    f.setBold(true);
    f.setPixelSize(std::max(8, static_cast<int>(badge.height() * 0.7)));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(badge, Qt::AlignCenter, QString::fromStdString(b.name));
    p.end();
    return img;
}

QImage logo(const Brand& b) {
    QImage img(320, 90, QImage::Format_RGB32);
    img.fill(rgb(b.dark));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // a drop of water over a wave: pools heated by the brand
    QPainterPath drop;
    drop.moveTo(45, 12);
    drop.cubicTo(70, 42, 72, 58, 45, 78);
    drop.cubicTo(18, 58, 20, 42, 45, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(rgb(b.light));
    p.drawPath(drop);
    p.setBrush(rgb(b.main));
    p.drawEllipse(QPointF(45, 56), 12, 12);
    QFont f("Liberation Sans");
    f.setBold(true);
    f.setPixelSize(40);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(88, 8, 228, 52), Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(b.name));
    f.setBold(false);
    f.setPixelSize(15);
    p.setFont(f);
    p.setPen(rgb(b.light));
    p.drawText(QRectF(90, 58, 228, 24), Qt::AlignLeft | Qt::AlignVCenter, "POOL & SPA HEAT PUMPS");
    p.end();
    return img;
}

std::string bmpBytes(const QImage& img, const fs::path& tmp) {
    saveBmp(img, tmp);
    return readText(tmp);
}

// =============================================================== Word

constexpr double kTwipsPerMm = 1440 / 25.4;
constexpr long kEmuPerMm = 36000;

const char* kNsW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
const char* kNsR = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// Paragraph styles: name, then the body of w:pPr and of w:rPr.
struct ParaStyle {
    const char* id;
    std::string ppr, rpr;
};

std::vector<ParaStyle> wordStyles(const Brand& b) {
    const std::string mono = R"(<w:rFonts w:ascii="Courier New" w:hAnsi="Courier New" w:cs="Courier New"/>)";
    auto color = [](const std::string& c) { return "<w:color w:val=\"" + c + "\"/>"; };
    auto size = [](int halfPoints) { return "<w:sz w:val=\"" + std::to_string(halfPoints) + "\"/>"; };
    const std::string center = R"(<w:jc w:val="center"/>)", right = R"(<w:jc w:val="right"/>)";
    return {
        {"Company", R"(<w:spacing w:before="120" w:after="20"/>)" + center, "<w:b/>" + color(b.dark) + size(36)},
        {"Letterhead", center, "<w:i/>" + color(b.main) + size(17)},
        {"Rule",
         R"(<w:pBdr><w:bottom w:val="single" w:sz="12" w:space="1" w:color=")" + b.main +
             R"("/></w:pBdr><w:spacing w:after="120"/>)",
         size(8)},
        {"Banner", R"(<w:spacing w:before="40" w:after="40"/>)", "<w:b/><w:color w:val=\"FFFFFF\"/>" + size(22)},
        {"Title", R"(<w:spacing w:before="60" w:after="100"/>)" + center, "<w:b/>" + color(b.main) + size(28)},
        {"Customer", "", size(20)},
        {"Date", R"(<w:spacing w:before="60"/>)", "<w:b/>" + size(18)},
        {"Picture", center, ""},
        {"Gap", "", size(8)},
        {"Label", "", color(b.dark) + size(17)},
        {"Value", "", "<w:b/>" + size(17)},
        {"System", R"(<w:spacing w:before="140" w:after="100"/>)", "<w:b/>" + color(b.dark) + size(21)},
        {"Head", center, "<w:b/>" + color(b.dark) + size(15)},
        {"Cell", center, size(17)},
        {"CellB", center, "<w:b/>" + size(17)},
        {"CellR", right, size(17)},
        {"CellRB", right, "<w:b/>" + size(17)},
        {"Mono", "", mono + size(16)},
        {"MonoB", "", mono + "<w:b/>" + size(16)},
        {"Cover", R"(<w:spacing w:before="60" w:after="40"/>)", mono + "<w:b/>" + color(b.main) + size(16)},
        {"Saving", R"(<w:spacing w:before="100"/>)", "<w:b/>" + color(b.main) + size(19)},
        {"Note", R"(<w:spacing w:before="30"/>)", size(17)},
    };
}

std::string stylesXml(const Brand& b) {
    std::string s =
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:styles xmlns:w=\"") + kNsW +
        "\"><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\" w:cs=\"Arial\"/>"
        "<w:sz w:val=\"19\"/><w:lang w:val=\"en-US\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr>"
        "<w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>"
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
        "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/>"
        "<w:tblPr><w:tblCellMar><w:left w:w=\"70\" w:type=\"dxa\"/><w:right w:w=\"70\" w:type=\"dxa\"/>"
        "</w:tblCellMar></w:tblPr></w:style>";
    for (const auto& st : wordStyles(b))
        s += std::string("<w:style w:type=\"paragraph\" w:customStyle=\"1\" w:styleId=\"") + st.id +
             "\"><w:name w:val=\"" + st.id + "\"/><w:basedOn w:val=\"Normal\"/><w:qFormat/><w:pPr>" + st.ppr +
             "</w:pPr><w:rPr>" + st.rpr + "</w:rPr></w:style>";
    return s + "</w:styles>";
}

class WordLayout {
public:
    WordLayout(const Brand& b, const QImage& logoImg) : brand_(b), logo_(logoImg) {
        for (const auto& st : wordStyles(b)) styles_.insert(st.id);
    }

    std::string body(const std::vector<std::string>& lines) {
        std::string out;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto w = words(lines[i]);
            if (w[0] == "para") {
                if (w.size() < 2) fail("para STYLE ...: " + lines[i]);
                out += paragraph(w[1], rest(lines[i], 2));
            } else if (w[0] == "table") {
                if (w.size() < 3) fail("table STYLE W...: " + lines[i]);
                std::vector<double> widths;
                for (std::size_t k = 2; k < w.size(); ++k) widths.push_back(std::stod(w[k]));
                std::vector<std::string> rows;
                std::size_t j = i + 1;
                for (; j < lines.size() && lines[j] != "end"; ++j) rows.push_back(lines[j]);
                if (j == lines.size()) fail("table without end");
                out += table(w[1], widths, rows);
                i = j;
            } else {
                fail("unknown layout line: " + lines[i]);
            }
        }
        return out;
    }

    bool usesLogo() const { return logoUsed_; }
    const std::vector<std::string>& bookmarks() const { return bookmarks_; }

private:
    // The line from its `n`-th word on.
    static std::string rest(const std::string& line, std::size_t n) {
        std::size_t at = 0;
        for (std::size_t k = 0; k < n; ++k) {
            at = line.find_first_not_of(' ', at);
            at = line.find(' ', at);
            if (at == std::string::npos) return "";
        }
        return trim(line.substr(at));
    }

    void checkStyle(const std::string& s) const {
        if (!styles_.count(s)) fail("no paragraph style " + s);
    }

    std::string paragraph(const std::string& style, const std::string& content) {
        checkStyle(style);
        return "<w:p><w:pPr><w:pStyle w:val=\"" + style + "\"/></w:pPr>" + runs(content) + "</w:p>";
    }

    std::string runs(const std::string& content) {
        std::string out;
        std::size_t i = 0;
        while (i < content.size()) {
            const char c = content[i];
            if (c == ' ') {
                ++i;
            } else if (c == '[') {
                const auto e = content.find(']', i);
                if (e == std::string::npos) fail("unclosed bookmark: " + content);
                const std::string name = content.substr(i + 1, e - i - 1);
                for (const auto& b : bookmarks_)
                    if (b == name) fail("bookmark twice: " + name);
                bookmarks_.push_back(name);
                const std::string id = std::to_string(bookmarks_.size());
                out += "<w:bookmarkStart w:id=\"" + id + "\" w:name=\"" + xmlEscape(name) +
                       "\"/><w:bookmarkEnd w:id=\"" + id + "\"/>";
                i = e + 1;
            } else if (c == '"') {
                const auto e = content.find('"', i + 1);
                if (e == std::string::npos) fail("unclosed text: " + content);
                const std::string text = replaceAll(content.substr(i + 1, e - i - 1), "{brand}", brand_.name);
                out += "<w:r><w:t xml:space=\"preserve\">" + xmlEscape(text) + "</w:t></w:r>";
                i = e + 1;
            } else if (content.compare(i, 6, "{logo:") == 0) {
                const auto e = content.find('}', i);
                const double mm = std::stod(content.substr(i + 6, e - i - 6));
                out += logoRun(mm);
                i = e + 1;
            } else {
                fail("unknown content: " + content.substr(i));
            }
        }
        return out;
    }

    std::string logoRun(double widthMm) {
        logoUsed_ = true;
        const long cx = static_cast<long>(widthMm * kEmuPerMm);
        const long cy = cx * logo_.height() / logo_.width();
        const std::string sx = std::to_string(cx), sy = std::to_string(cy);
        return "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"" + sx +
               "\" cy=\"" + sy +
               "\"/><wp:docPr id=\"1\" name=\"Logo\"/><a:graphic><a:graphicData "
               "uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:nvPicPr><pic:cNvPr "
               "id=\"0\" name=\"logo.bmp\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"rIdLogo\"/>"
               "<a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext "
               "cx=\"" +
               sx + "\" cy=\"" + sy +
               "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr>"
               "</pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    }

    std::string table(const std::string& style, const std::vector<double>& widthsMm,
                      const std::vector<std::string>& rows) {
        if (style != "Grid" && style != "Plain" && style != "Banner") fail("no table style " + style);
        std::vector<long> tw;
        long total = 0;
        for (double mm : widthsMm) total += tw.emplace_back(static_cast<long>(mm * kTwipsPerMm + 0.5));
        const std::string line = "w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"" + brand_.dark + "\"";
        std::string out = "<w:tbl><w:tblPr><w:tblW w:w=\"" + std::to_string(total) +
                          "\" w:type=\"dxa\"/><w:tblLayout w:type=\"fixed\"/>";
        if (style == "Grid")
            out += "<w:tblBorders><w:top " + line + "/><w:left " + line + "/><w:bottom " + line + "/><w:right " + line +
                   "/><w:insideH " + line + "/><w:insideV " + line + "/></w:tblBorders>";
        out += "</w:tblPr><w:tblGrid>";
        for (long w : tw) out += "<w:gridCol w:w=\"" + std::to_string(w) + "\"/>";
        out += "</w:tblGrid>";
        const std::string shade = style == "Banner" ? brand_.dark : brand_.light;
        for (const auto& row : rows) {
            if (row.rfind("row", 0) != 0) fail("a table holds rows: " + row);
            out += "<w:tr>";
            std::size_t col = 0;
            std::string cells = row.substr(3);
            std::vector<std::string> parts;
            for (std::size_t a = 0;;) {
                const auto bar = cells.find('|', a);
                parts.push_back(trim(cells.substr(a, bar == std::string::npos ? std::string::npos : bar - a)));
                if (bar == std::string::npos) break;
                a = bar + 1;
            }
            for (std::string cell : parts) {
                std::string pstyle = style == "Banner" ? "Banner" : "Customer", tcpr;
                bool shaded = false;
                int span = 1;
                for (;;) {
                    if (!cell.empty() && cell[0] == '!') {
                        shaded = true;
                        cell = trim(cell.substr(1));
                    } else if (!cell.empty() && cell[0] == '@') {
                        const auto sp = cell.find(' ');
                        pstyle = cell.substr(1, sp == std::string::npos ? std::string::npos : sp - 1);
                        cell = sp == std::string::npos ? "" : trim(cell.substr(sp));
                    } else if (!cell.empty() && cell[0] == '*') {
                        const auto sp = cell.find(' ');
                        span = std::stoi(cell.substr(1, sp == std::string::npos ? std::string::npos : sp - 1));
                        cell = sp == std::string::npos ? "" : trim(cell.substr(sp));
                    } else if (!cell.empty() && cell[0] == '+') {
                        tcpr += "<w:vMerge w:val=\"restart\"/>";
                        cell = trim(cell.substr(1));
                    } else if (!cell.empty() && cell[0] == '^') {
                        tcpr += "<w:vMerge/>";
                        cell = trim(cell.substr(1));
                    } else {
                        break;
                    }
                }
                long width = 0;
                for (int k = 0; k < span; ++k) {
                    if (col >= tw.size()) fail("more cells than columns: " + row);
                    width += tw[col++];
                }
                out += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(width) + "\" w:type=\"dxa\"/>";
                if (span > 1) out += "<w:gridSpan w:val=\"" + std::to_string(span) + "\"/>";
                out += tcpr;
                if (shaded) out += "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"" + shade + "\"/>";
                // Cells beside a tall picture keep their lines at the top.
                out += std::string("<w:vAlign w:val=\"") + (style == "Plain" ? "top" : "center") + "\"/></w:tcPr>" +
                       paragraph(pstyle, cell) + "</w:tc>";
            }
            if (col != tw.size()) fail("fewer cells than columns: " + row);
            out += "</w:tr>";
        }
        return out + "</w:tbl>";
    }

    const Brand& brand_;
    QImage logo_;
    std::set<std::string> styles_;
    std::vector<std::string> bookmarks_;
    bool logoUsed_ = false;
};

office::Package wordTemplate(const fs::path& dir, const std::string& layout, int variant, const Brand& b,
                             const QImage& logoImg, const std::string& logoBmp, std::vector<std::string>* bookmarks) {
    WordLayout w(b, logoImg);
    const std::string body = w.body(expand(dir, layout, variant));
    if (bookmarks) *bookmarks = w.bookmarks();
    const std::string doc =
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document xmlns:w=\"") + kNsW +
        "\" xmlns:r=\"" + kNsR +
        "\" xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
        "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body>" +
        body +
        "<w:sectPr><w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"620\" w:right=\"860\" w:bottom=\"620\" "
        "w:left=\"860\" w:header=\"360\" w:footer=\"360\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>";
    office::Package p;
    p.set("[Content_Types].xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Types "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
          "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
          "ContentType=\"application/xml\"/><Default Extension=\"bmp\" ContentType=\"image/bmp\"/><Override "
          "PartName=\"/word/document.xml\" "
          "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml\"/><Override "
          "PartName=\"/word/styles.xml\" "
          "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/><Override "
          "PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
          "</Types>");
    p.set("_rels/.rels",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
          "Target=\"word/document.xml\"/><Relationship Id=\"rId2\" "
          "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" "
          "Target=\"docProps/core.xml\"/></Relationships>");
    p.set("docProps/core.xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><cp:coreProperties "
          "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
          "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>" +
              xmlEscape(b.name + (layout == "audit.layout" ? " heating audit" : " heating summary")) +
              "</dc:title><dc:creator>Heater</dc:creator></cp:coreProperties>");
    std::string rels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
        "Target=\"styles.xml\"/>";
    if (w.usesLogo()) {
        rels +=
            "<Relationship Id=\"rIdLogo\" "
            "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
            "Target=\"media/logo.bmp\"/>";
        p.set("word/media/logo.bmp", logoBmp);
    }
    p.set("word/_rels/document.xml.rels", rels + "</Relationships>");
    p.set("word/document.xml", doc);
    p.set("word/styles.xml", stylesXml(b));
    return p;
}

// ============================================================== Excel

// Cell styles of the workbook: font, fill and number format by name.
struct CellStyle {
    const char* name;
    int font;           // index into the fonts below
    int fill;           // 0 none, 2 dark banner fill, 3 light fill
    int numFmt;         // 0 General, 164 money
    const char* align;  // "", "center", "left"
};
const CellStyle kCellStyles[] = {
    {"Default", 0, 0, 0, ""},     {"Text", 0, 0, 0, ""},         {"Label", 1, 0, 0, ""}, {"Money", 0, 0, 164, ""},
    {"Month", 1, 3, 0, "center"}, {"Banner", 2, 2, 0, "center"}, {"Title", 3, 0, 0, ""}, {"Company", 4, 0, 0, ""},
    {"Small", 5, 0, 0, ""},       {"System", 6, 0, 0, ""},       {"Big", 6, 0, 0, ""},
};

int styleIndex(const std::string& name) {
    for (std::size_t i = 0; i < std::size(kCellStyles); ++i)
        if (name == kCellStyles[i].name) return static_cast<int>(i);
    fail("no cell style " + name);
}

std::string workbookStyles() {
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><styleSheet "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><numFmts count=\"1\"><numFmt "
        "numFmtId=\"164\" formatCode=\"&quot;$&quot;#,##0.00\"/></numFmts><fonts count=\"7\">"
        "<font><sz val=\"10\"/><name val=\"Arial\"/></font>"
        "<font><b/><sz val=\"10\"/><color rgb=\"FF0B3C5D\"/><name val=\"Arial\"/></font>"
        "<font><b/><sz val=\"16\"/><color rgb=\"FFFFFFFF\"/><name val=\"Arial\"/></font>"
        "<font><b/><sz val=\"14\"/><color rgb=\"FF1F6FB2\"/><name val=\"Arial\"/></font>"
        "<font><b/><sz val=\"16\"/><color rgb=\"FF0B3C5D\"/><name val=\"Arial\"/></font>"
        "<font><i/><sz val=\"8\"/><color rgb=\"FF555555\"/><name val=\"Arial\"/></font>"
        "<font><b/><sz val=\"12\"/><color rgb=\"FF0B3C5D\"/><name val=\"Arial\"/></font>"
        "</fonts><fills count=\"4\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
        "patternType=\"gray125\"/></fill><fill><patternFill patternType=\"solid\"><fgColor rgb=\"FF0B3C5D\"/>"
        "</patternFill></fill><fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFE3EEF8\"/></patternFill></fill>"
        "</fills><borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
        "borderId=\"0\"/></cellStyleXfs><cellXfs count=\"" +
        std::to_string(std::size(kCellStyles)) + "\">";
    for (const auto& st : kCellStyles) {
        s += "<xf numFmtId=\"" + std::to_string(st.numFmt) + "\" fontId=\"" + std::to_string(st.font) + "\" fillId=\"" +
             std::to_string(st.fill) + "\" borderId=\"0\" xfId=\"0\"";
        if (st.numFmt) s += " applyNumberFormat=\"1\"";
        if (st.fill) s += " applyFill=\"1\"";
        s += " applyFont=\"1\"";
        if (*st.align)
            s += " applyAlignment=\"1\"><alignment horizontal=\"" + std::string(st.align) +
                 "\" vertical=\"center\"/></xf>";
        else s += "/>";
    }
    return s +
           "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
           "builtinId=\"0\"/></cellStyles></styleSheet>";
}

void rangeOf(const std::string& r, int& r1, int& c1, int& r2, int& c2) {
    const auto colon = r.find(':');
    const std::string a = r.substr(0, colon), b = colon == std::string::npos ? a : r.substr(colon + 1);
    if (!office::parseAddress(a, r1, c1) || !office::parseAddress(b, r2, c2)) fail("bad range " + r);
}

int columnOf(const std::string& letters) {
    int r = 0, c = 0;
    if (!office::parseAddress(letters + "1", r, c)) fail("bad column " + letters);
    return c;
}

std::string absRange(const std::string& sheet, const std::string& r) {
    int r1, c1, r2, c2;
    rangeOf(r, r1, c1, r2, c2);
    std::string s = "'" + replaceAll(sheet, "'", "''") + "'!$" + office::columnName(c1) + "$" + std::to_string(r1);
    if (r.find(':') != std::string::npos) s += ":$" + office::columnName(c2) + "$" + std::to_string(r2);
    return s;
}

std::string chartXml(const std::string& sheet, const std::string& title, const std::string& categories,
                     const std::vector<std::string>& series) {
    static const char* colours[] = {"C0504D", "4E9A3E", "1F6FB2", "F2A33A"};
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><c:chartSpace "
        "xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" xmlns:r=\"" +
        std::string(kNsR) +
        "\"><c:roundedCorners val=\"0\"/><c:chart><c:title><c:tx><c:rich><a:bodyPr/><a:p><a:pPr><a:defRPr sz=\"1200\" "
        "b=\"1\"/></a:pPr><a:r><a:rPr lang=\"en-US\" sz=\"1200\" b=\"1\"/><a:t>" +
        xmlEscape(title) +
        "</a:t></a:r></a:p></c:rich></c:tx><c:overlay val=\"0\"/></c:title><c:autoTitleDeleted val=\"0\"/><c:plotArea>"
        "<c:layout/><c:barChart><c:barDir val=\"col\"/><c:grouping val=\"clustered\"/><c:varyColors val=\"0\"/>";
    for (std::size_t i = 0; i < series.size(); ++i) {
        const auto colon = series[i].find(':');
        const std::string name = series[i].substr(0, colon), values = series[i].substr(colon + 1);
        s += "<c:ser><c:idx val=\"" + std::to_string(i) + "\"/><c:order val=\"" + std::to_string(i) +
             "\"/><c:tx><c:strRef><c:f>" + xmlEscape(absRange(sheet, name)) +
             "</c:f></c:strRef></c:tx><c:spPr><a:solidFill><a:srgbClr val=\"" + colours[i % 4] +
             "\"/></a:solidFill></c:spPr><c:invertIfNegative val=\"0\"/><c:cat><c:strRef><c:f>" +
             xmlEscape(absRange(sheet, categories)) + "</c:f></c:strRef></c:cat><c:val><c:numRef><c:f>" +
             xmlEscape(absRange(sheet, values)) + "</c:f></c:numRef></c:val></c:ser>";
    }
    s += "<c:gapWidth val=\"60\"/><c:axId val=\"5001\"/><c:axId val=\"5002\"/></c:barChart><c:catAx><c:axId "
         "val=\"5001\"/>"
         "<c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"0\"/><c:axPos val=\"b\"/><c:numFmt "
         "formatCode=\"General\" sourceLinked=\"0\"/><c:tickLblPos val=\"low\"/><c:crossAx val=\"5002\"/><c:crosses "
         "val=\"autoZero\"/><c:auto val=\"1\"/><c:lblAlgn val=\"ctr\"/><c:lblOffset val=\"100\"/></c:catAx><c:valAx>"
         "<c:axId val=\"5002\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"0\"/><c:axPos "
         "val=\"l\"/><c:majorGridlines/><c:numFmt formatCode=\"&quot;$&quot;#,##0\" sourceLinked=\"0\"/><c:tickLblPos "
         "val=\"nextTo\"/><c:crossAx val=\"5001\"/><c:crosses val=\"autoZero\"/><c:crossBetween val=\"between\"/>"
         "</c:valAx></c:plotArea><c:legend><c:legendPos val=\"b\"/><c:overlay val=\"0\"/></c:legend><c:plotVisOnly "
         "val=\"1\"/><c:dispBlanksAs val=\"gap\"/></c:chart></c:chartSpace>";
    return s;
}

// A workbook's one sheet as its layout file describes it.
struct SheetLayout {
    std::string sheetName = "Sheet1";
    std::map<int, std::map<int, std::pair<int, std::string>>> cells;  // row -> col -> (style, text)
    std::map<int, double> heights;
    std::vector<std::pair<int, int>> widthCols;
    std::vector<double> widths;
    std::vector<std::string> merges;
    std::string chart, chartAnchor, printArea;
};

SheetLayout read_layout(const fs::path& dir, int variant) {
    SheetLayout s;
    for (const auto& line : expand(dir, "energy.layout", variant)) {
        const auto w = words(line);
        if (w[0] == "sheet") {
            s.sheetName = trim(line.substr(6));
        } else if (w[0] == "width" && w.size() == 3) {
            const auto colon = w[1].find(':');
            const int a = columnOf(w[1].substr(0, colon));
            const int b = colon == std::string::npos ? a : columnOf(w[1].substr(colon + 1));
            s.widthCols.push_back({a, b});
            s.widths.push_back(std::stod(w[2]));
        } else if (w[0] == "height" && w.size() == 3) {
            s.heights[std::stoi(w[1])] = std::stod(w[2]);
        } else if (w[0] == "cell" && (w.size() == 3 || w.size() == 4)) {
            int r1, c1, r2, c2;
            rangeOf(w[1], r1, c1, r2, c2);
            const int st = styleIndex(w[2]);
            const std::string text = w.size() == 4 ? w[3].substr(1, w[3].size() - 2) : "";
            for (int r = r1; r <= r2; ++r)
                for (int c = c1; c <= c2; ++c) s.cells[r][c] = {st, text};
        } else if (w[0] == "merge" && w.size() == 2) {
            s.merges.push_back(w[1]);
        } else if (w[0] == "chart" && w.size() >= 5) {
            s.chartAnchor = w[1];
            s.chart = chartXml(s.sheetName, w[2].substr(1, w[2].size() - 2), w[3],
                               std::vector<std::string>(w.begin() + 4, w.end()));
        } else if (w[0] == "print" && w.size() == 2) {
            s.printArea = w[1];
        } else {
            fail("unknown workbook line: " + line);
        }
    }
    return s;
}

std::string sheet_xml(SheetLayout& s) {
    std::string sheet =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><worksheet "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
        std::string(kNsR) +
        "\"><sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr><sheetViews><sheetView "
        "tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews><sheetFormatPr defaultRowHeight=\"12.75\"/><cols>";
    for (std::size_t i = 0; i < s.widths.size(); ++i)
        sheet += "<col min=\"" + std::to_string(s.widthCols[i].first) + "\" max=\"" +
                 std::to_string(s.widthCols[i].second) + "\" width=\"" + std::to_string(s.widths[i]) +
                 "\" customWidth=\"1\"/>";
    sheet += "</cols><sheetData>";
    std::map<int, bool> rowsUsed;
    for (auto& [r, _] : s.cells) rowsUsed[r] = true;
    for (auto& [r, _] : s.heights) rowsUsed[r] = true;
    for (auto& [r, _] : rowsUsed) {
        sheet += "<row r=\"" + std::to_string(r) + "\"";
        if (s.heights.count(r)) sheet += " ht=\"" + std::to_string(s.heights[r]) + "\" customHeight=\"1\"";
        sheet += ">";
        for (auto& [c, v] : s.cells[r]) {
            sheet += "<c r=\"" + office::columnName(c) + std::to_string(r) + "\" s=\"" + std::to_string(v.first) + "\"";
            if (v.second.empty()) sheet += "/>";
            else sheet += " t=\"inlineStr\"><is><t xml:space=\"preserve\">" + xmlEscape(v.second) + "</t></is></c>";
        }
        sheet += "</row>";
    }
    sheet += "</sheetData>";
    if (!s.merges.empty()) {
        sheet += "<mergeCells count=\"" + std::to_string(s.merges.size()) + "\">";
        for (const auto& m : s.merges) sheet += "<mergeCell ref=\"" + m + "\"/>";
        sheet += "</mergeCells>";
    }
    sheet +=
        "<pageMargins left=\"0.5\" right=\"0.5\" top=\"0.5\" bottom=\"0.5\" header=\"0.3\" footer=\"0.3\"/>"
        "<pageSetup paperSize=\"1\" orientation=\"portrait\" fitToWidth=\"1\" fitToHeight=\"1\"/>";
    if (!s.chart.empty()) sheet += "<drawing r:id=\"rId1\"/>";
    sheet += "</worksheet>";
    return sheet;
}

office::Package workbook(const fs::path& dir, int variant) {
    SheetLayout layout = read_layout(dir, variant);
    const std::string sheet = sheet_xml(layout);
    const std::string& sheetName = layout.sheetName;
    const std::string& chart = layout.chart;
    const std::string& chartAnchor = layout.chartAnchor;
    const std::string& printArea = layout.printArea;

    office::Package p;
    std::string types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
        "ContentType=\"application/xml\"/><Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/><Override "
        "PartName=\"/xl/worksheets/sheet1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/><Override "
        "PartName=\"/xl/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
    if (!chart.empty()) {
        types +=
            "<Override PartName=\"/xl/drawings/drawing1.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.drawing+xml\"/><Override "
            "PartName=\"/xl/charts/chart1.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.drawingml.chart+xml\"/>";
        int r1, c1, r2, c2;
        rangeOf(chartAnchor, r1, c1, r2, c2);
        auto pos = [](const char* tag, int col, int row) {
            return std::string("<xdr:") + tag + "><xdr:col>" + std::to_string(col) +
                   "</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>" + std::to_string(row) +
                   "</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:" + tag + ">";
        };
        p.set(
            "xl/drawings/drawing1.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><xdr:wsDr "
            "xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
            "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><xdr:twoCellAnchor editAs=\"oneCell\">" +
                pos("from", c1 - 1, r1 - 1) + pos("to", c2, r2) +
                "<xdr:graphicFrame macro=\"\"><xdr:nvGraphicFramePr><xdr:cNvPr id=\"2\" name=\"Chart 1\"/>"
                "<xdr:cNvGraphicFramePr/></xdr:nvGraphicFramePr><xdr:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" "
                "cy=\"0\"/></xdr:xfrm><a:graphic><a:graphicData "
                "uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\">"
                "<c:chart xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" xmlns:r=\"" +
                kNsR +
                "\" r:id=\"rId1\"/></a:graphicData></a:graphic></xdr:graphicFrame><xdr:clientData/>"
                "</xdr:twoCellAnchor></xdr:wsDr>");
        p.set("xl/drawings/_rels/drawing1.xml.rels",
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
              "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
              "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/chart\" "
              "Target=\"../charts/chart1.xml\"/></Relationships>");
        p.set("xl/charts/chart1.xml", chart);
        p.set("xl/worksheets/_rels/sheet1.xml.rels",
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
              "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
              "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing\" "
              "Target=\"../drawings/drawing1.xml\"/></Relationships>");
    }
    p.set("[Content_Types].xml", types + "</Types>");
    p.set("_rels/.rels",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
          "Target=\"xl/workbook.xml\"/></Relationships>");
    std::string wb =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><workbook "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
        std::string(kNsR) + "\"><bookViews><workbookView activeTab=\"0\"/></bookViews><sheets><sheet name=\"" +
        xmlEscape(sheetName) + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets>";
    if (!printArea.empty())
        wb += "<definedNames><definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">" +
              xmlEscape(absRange(sheetName, printArea)) + "</definedName></definedNames>";
    p.set("xl/workbook.xml", wb + "<calcPr calcId=\"0\" fullCalcOnLoad=\"1\"/></workbook>");
    p.set("xl/_rels/workbook.xml.rels",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
          "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
          "Target=\"styles.xml\"/></Relationships>");
    p.set("xl/worksheets/sheet1.xml", sheet);
    p.set("xl/styles.xml", workbookStyles());
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mktemplates <templates folder> <output folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt asks for a runtime folder; without XDG_RUNTIME_DIR it makes
    // runtime-<user> in the temporary folder and leaves it there after every
    // build. The tool gets a private one (0700), removed as it ends.
    QTemporaryDir runtime(QDir::tempPath() + "/mktemplates-runtime-XXXXXX");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QGuiApplication app(argc, argv);
    try {
        const fs::path src = argv[1], out = argv[2];
        fs::create_directories(out);
        const auto brands = readBrands(src / "brands.txt");
        const fs::path tmp = out / ".mktemplates.bmp";
        for (const Brand& b : brands) {
            const std::string nb = std::to_string(b.number);
            const QImage logoImg = logo(b);
            saveBmp(logoImg, out / ("ksl logo2" + nb + ".bmp"));
            const std::string logoBmp = bmpBytes(logoImg, tmp);
            for (int n : {0, 4, 5, 6})
                saveBmp(heatPump(b, n, false, 240, 200), out / ("hppic" + std::to_string(n) + nb + ".bmp"));
            for (int n = 0; n <= 6; ++n)
                saveBmp(heatPump(b, n, true, 130, 145), out / ("hpopen" + std::to_string(n) + nb + ".bmp"));
            for (int variant : {1, 2}) {
                const std::string stem = "WordPrt" + std::to_string(variant) + b.letter;
                wordTemplate(src / "word", "audit.layout", variant, b, logoImg, logoBmp, nullptr)
                    .save((out / (stem + ".dotx")).string());
                wordTemplate(src / "word", "summary.layout", variant, b, logoImg, logoBmp, nullptr)
                    .save((out / (stem + b.letter + ".dotx")).string());
            }
        }
        // The fallback pictures the Word documents try when a heat-pump
        // picture is missing: the first brand's, without a name extension.
        if (!brands.empty()) {
            saveBmp(heatPump(brands[0], 3, false, 240, 200), out / "hppic3");
            saveBmp(heatPump(brands[0], 1, false, 240, 200), out / "hppic1");
        }
        fs::remove(tmp);
        workbook(src / "excel", 1).save((out / "ENERGY COSTS.xlsx").string());
        workbook(src / "excel", 2).save((out / "ENERGY COSTS2.xlsx").string());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mktemplates: %s\n", e.what());
        return 1;
    }
    return 0;
}
