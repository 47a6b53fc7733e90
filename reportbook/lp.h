// How the report book's procedures print and fail. Every print statement
// goes through out(), which knows the procedure running (a Proc on the
// stack) and what that procedure does when the printer fails:
//   Pass          the fault goes on to the procedure's own handler;
//   DeviceFault   "Check the printer" (OK retries, Cancel abandons);
//   NotResponding "Printer is not responding." (Retry, Cancel ends the
//                 comparison);
//   Skip          the row printers' rule: the message once, then the step
//                 is tried once more and otherwise left out;
//   Ignore        the statement is left out.
// A procedure's handler (trap) shows the report's error box, "<description>
// <number> in <statement>", and abandons the report book.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "print/printer.h"

namespace rb {

using prn::Item;
using prn::Spc;
using prn::Tab;

// Thrown once a failure has been reported: the report book is abandoned.
struct Abandon {};
// Thrown when the user cancels the comparison at a printer fault.
struct CancelCompare {};

enum class OnFault { Pass, DeviceFault, NotResponding, Skip, Ignore };

class Proc {
public:
    Proc(std::string name, OnFault rule, std::string literal = {});
    ~Proc();
    Proc(const Proc&) = delete;
    Proc& operator=(const Proc&) = delete;

    static Proc* current();
    const std::string& name() const { return name_; }
    OnFault rule() const { return rule_; }
    const std::string& literal() const { return literal_; }
    int statement() const { return stmt_; }
    int next_statement() { return ++stmt_; }

private:
    std::string name_;
    OnFault rule_;
    std::string literal_;
    int stmt_ = 0;
    Proc* outer_;
};

prn::Printer& P();
// One print statement (the line ended unless `end` is prn::Open).
void out(const std::vector<Item>& items, prn::LineEnd end = prn::Ended);
inline void open(const std::vector<Item>& items) { out(items, prn::Open); }
// n statements without items.
void blank(int n = 1);
void new_page();
// Ends the document and sends it (a statement of its own, failing like one).
void end_doc();

// Runs body as procedure `title` whose run-time errors show the box titled
// `title` ("<description> <n> in <statement>", the statement with a leading
// blank unless lineBlank is false) and abandon the report.
void trap(const std::string& title, const std::function<void()>& body, bool lineBlank = true);
// The text of such a box.
std::string error_text(const std::string& description, int number, int statement, bool lineBlank = true);

// Print form of a number: a blank (or the minus sign), the digits, a blank.
std::string num(double x);
std::string numSingle(float x);

}  // namespace rb
