#include "reportbook/lp.h"

#include "core/ui.h"
#include "core/vbtext.h"

namespace rb {
namespace {
Proc*& top() {
    static Proc* p = nullptr;
    return p;
}
// The statement (counted in its own procedure) whose fault went on to a
// handler: the number the error boxes give after " in ".
int& failed_statement() {
    static int n = 0;
    return n;
}
}  // namespace

Proc::Proc(std::string name, OnFault rule, std::string literal)
    : name_(std::move(name)), rule_(rule), literal_(std::move(literal)), outer_(top()) {
    top() = this;
}
Proc::~Proc() { top() = outer_; }
Proc* Proc::current() { return top(); }

prn::Printer& P() { return prn::printer(); }

namespace {

// Runs one printer operation under the running procedure's fault rule.
template <class Op> void attempt(Proc* p, OnFault rule, const std::string& literal, Op op) {
    bool told = false;
    for (;;) {
        try {
            op();
            return;
        } catch (const ui::RtError& e) {
            if (rule == OnFault::Ignore) return;
            if (rule == OnFault::Skip) {
                // Error 55 and a second failure of the same step: left out.
                if (e.number == 55 || told) return;
                told = true;
                ui::MsgBox(e.description() + literal + vb::Str(e.number), ui::vbOKOnly, "Skipping " + p->name());
                continue;
            }
            if (e.number == 25 && rule == OnFault::DeviceFault) {
                if (ui::MsgBox("Check the printer", ui::vbOKCancel, "Device fault") == ui::vbCancel) throw Abandon{};
                continue;
            }
            if (e.number == 25 && rule == OnFault::NotResponding) {
                if (ui::MsgBox("Printer is not responding.", ui::vbRetryCancel, "Error" + vb::Str(25)) == ui::vbCancel)
                    throw CancelCompare{};
                continue;
            }
            failed_statement() = p ? p->statement() : 0;
            throw;
        }
    }
}

}  // namespace

void out(const std::vector<Item>& items, prn::LineEnd end) {
    Proc* p = Proc::current();
    if (!p) {
        P().Print(items, end);
        return;
    }
    p->next_statement();
    attempt(p, p->rule(), p->literal(), [&] { P().Print(items, end); });
}

void blank(int n) {
    for (int i = 0; i < n; ++i) out({});
}

namespace {
// A page break or the end of the document: a statement like a print.
template <class Op> void statement(Op op) {
    Proc* p = Proc::current();
    if (!p) {
        op();
        return;
    }
    p->next_statement();
    attempt(p, p->rule(), p->literal(), op);
}
}  // namespace

void new_page() {
    statement([] { P().NewPage(); });
}

void end_doc() {
    statement([] { P().EndDoc(); });
}

std::string error_text(const std::string& description, int number, int statement, bool lineBlank) {
    return description + vb::Str(number) + " in " + (lineBlank ? vb::Str(statement) : vb::CStr(statement));
}

void trap(const std::string& title, const std::function<void()>& body, bool lineBlank) {
    failed_statement() = 0;
    try {
        body();
    } catch (const ui::RtError& e) {
        ui::MsgBox(error_text(e.description(), e.number, failed_statement(), lineBlank), ui::vbOKOnly, title);
        throw Abandon{};
    }
}

std::string num(double x) { return vb::Str(x) + " "; }
std::string numSingle(float x) { return vb::StrSingle(x) + " "; }

}  // namespace rb
