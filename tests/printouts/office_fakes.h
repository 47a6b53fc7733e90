// Recorders in place of the word processor and the spreadsheet: they keep
// every call, the text inserted at each bookmark and the value written to
// each cell, and fail on request the way the real ones do.
#pragma once

#include <iomanip>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/ui.h"
#include "printouts/office_app.h"

namespace prtest {

struct WordLog {
    std::vector<std::string> calls;                            // "Open <path>", "Select <name>", ...
    std::vector<std::pair<std::string, std::string>> inserts;  // bookmark, text, in order
    std::string template_path;
    std::string picture;  // the picture inserted, "" when none
    int started = 0, quits = 0, closes = 0, prints = 0;

    // name = text, one line per insert, in order.
    std::string dump() const {
        std::ostringstream o;
        for (const auto& [b, t] : inserts) o << b << " = \"" << t << "\"\n";
        return o.str();
    }
    // The text at a bookmark (all inserts joined).
    std::string at(const std::string& name) const {
        std::string s;
        for (const auto& [b, t] : inserts)
            if (b == name) s += t;
        return s;
    }
    int count(const std::string& name) const {
        int n = 0;
        for (const auto& [b, t] : inserts) n += b == name;
        return n;
    }
};

struct WordScript {
    std::set<std::string> pictures;  // picture files that exist
    std::string fail_at_bookmark;    // this bookmark is missing (5941)
    int print_faults = 0;            // PrintOut fails with 25 this often
    bool not_installed = false;
    bool cancelled = false;  // the dealer cancels PrintOut on the progress window
};

class FakeWord : public office_app::Word {
public:
    FakeWord(WordLog& log, WordScript& s) : log_(log), s_(s) { ++log_.started; }
    void Documents_Open(const std::string& path) override {
        log_.calls.push_back("Open " + path);
        log_.template_path = path;
        open_ = true;
    }
    void Bookmarks_Select(const std::string& name) override {
        log_.calls.push_back("Select " + name);
        if (!open_) throw ui::RtError(4248, "No document is open");
        if (name == s_.fail_at_bookmark)
            throw ui::RtError(5941, "The requested member of the collection does not exist.");
        sel_ = name;
    }
    void InlineShapes_AddPicture(const std::string& file) override {
        log_.calls.push_back("AddPicture " + file);
        if (!s_.pictures.count(file)) throw ui::RtError(5152, "This is not a valid file name.");
        log_.picture = file;
    }
    void Visible(bool on) override { log_.calls.push_back(on ? "Visible True" : "Visible False"); }
    void InsertAfter(const std::string& text) override {
        log_.calls.push_back("InsertAfter");
        log_.inserts.emplace_back(sel_, text);
    }
    void PrintOut() override {
        log_.calls.push_back("PrintOut");
        if (s_.cancelled) throw ui::Cancelled{};
        if (s_.print_faults > 0) {
            --s_.print_faults;
            throw ui::RtError(25, "Device timeout");
        }
        ++log_.prints;
    }
    void Close() override {
        log_.calls.push_back("Close");
        ++log_.closes;
        open_ = false;
    }
    void Quit() override {
        log_.calls.push_back("Quit");
        ++log_.quits;
    }

private:
    WordLog& log_;
    WordScript& s_;
    bool open_ = false;
    std::string sel_;
};

struct ExcelLog {
    std::vector<std::string> calls;
    std::map<std::string, office_app::CellValue> cells;  // last value by address as sent
    std::vector<std::string> order;                      // addresses in write order
    std::vector<std::string> pictures;
    std::string workbook, print_area;
    double height = 0, width = 0;
    int lock_calls = 0, prints = 0, closes = 0, quits = 0;

    // Every call, one a line, with the values written.
    std::string dump() const {
        std::string s;
        for (const std::string& c : calls) s += c + "\n";
        return s;
    }
    std::string text(const std::string& a) const {
        auto it = cells.find(a);
        if (it == cells.end()) return "(unwritten)";
        if (const auto* s = std::get_if<std::string>(&it->second)) return *s;
        return "(number)";
    }
    double number(const std::string& a) const {
        auto it = cells.find(a);
        if (it == cells.end()) return -999999;
        if (const auto* d = std::get_if<double>(&it->second)) return *d;
        return -888888;
    }
};

struct ExcelScript {
    int fail_number = 0;    // the call named below throws this number
    std::string fail_call;  // "Open", "Insert", "PrintOut", or a cell address
    bool not_installed = false;
    bool cancelled = false;  // the dealer cancels PrintOut on the progress window
};

class FakeExcel : public office_app::Excel {
public:
    FakeExcel(ExcelLog& log, ExcelScript& s) : log_(log), s_(s) {}
    void Workbooks_Open(const std::string& path) override {
        log_.calls.push_back("Open " + path);
        check("Open");
        log_.workbook = path;
    }
    void Range_Select(const std::string& address) override {
        log_.calls.push_back("Select " + address);
        check(address);
        sel_ = address;
    }
    void ActiveCell_FormulaR1C1(const office_app::CellValue& v) override {
        const auto* d = std::get_if<double>(&v);
        log_.calls.push_back("Formula " + sel_ + " = " + (d ? number(*d) : "\"" + std::get<std::string>(v) + "\""));
        log_.cells[sel_] = v;
        log_.order.push_back(sel_);
    }
    void Pictures_Insert(const std::string& file) override {
        log_.calls.push_back("Insert " + file);
        check("Insert");
        log_.pictures.push_back(file);
    }
    void ShapeRange_LockAspectRatio(bool on) override {
        log_.calls.push_back(on ? "Lock True" : "Lock False");
        ++log_.lock_calls;
    }
    void ShapeRange_Height(double p) override {
        log_.calls.push_back("Height " + number(p));
        log_.height = p;
    }
    void ShapeRange_Width(double p) override {
        log_.calls.push_back("Width " + number(p));
        log_.width = p;
    }
    void PageSetup_PrintArea(const std::string& a) override {
        log_.calls.push_back("PrintArea " + a);
        log_.print_area = a;
    }
    void PrintOut() override {
        log_.calls.push_back("PrintOut");
        if (s_.cancelled) throw ui::Cancelled{};
        check("PrintOut");
        ++log_.prints;
    }
    void Close() override {
        log_.calls.push_back("Close");
        ++log_.closes;
    }
    void Quit() override {
        log_.calls.push_back("Quit");
        ++log_.quits;
    }

private:
    static std::string number(double d) {
        std::ostringstream o;
        o << std::setprecision(9) << d;
        return o.str();
    }
    void check(const std::string& what) {
        if (s_.fail_number != 0 && s_.fail_call == what) throw ui::RtError(s_.fail_number, "Application-defined error");
    }
    ExcelLog& log_;
    ExcelScript& s_;
    std::string sel_;
};

// Installs both recorders for the lifetime of the object.
struct FakeOffice {
    WordLog word;
    WordScript wscript;
    ExcelLog excel;
    ExcelScript xscript;
    FakeOffice() {
        office_app::word_factory() = [this]() -> std::unique_ptr<office_app::Word> {
            if (wscript.not_installed) throw ui::RtError(429, "ActiveX component can't create object");
            return std::make_unique<FakeWord>(word, wscript);
        };
        office_app::excel_factory() = [this]() -> std::unique_ptr<office_app::Excel> {
            if (xscript.not_installed) throw ui::RtError(429, "ActiveX component can't create object");
            return std::make_unique<FakeExcel>(excel, xscript);
        };
    }
    ~FakeOffice() {
        office_app::word_factory() = nullptr;
        office_app::excel_factory() = nullptr;
    }
};

}  // namespace prtest
