#include "dealer/calckeys.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "core/ui.h"
#include "core/vbtext.h"

namespace {

// The whole text is a number (blanks around it allowed); C locale.
bool full_number(const std::string& s, double& v) {
    const std::string t = vb::Trim(s);
    if (t.empty()) return false;
    std::istringstream in(t);
    in.imbue(std::locale::classic());
    in >> v;
    return !in.fail() && in.eof();
}

}  // namespace

std::string CalcKeys::text(const Operand& o) {
    if (const auto* s = std::get_if<std::string>(&o)) return *s;
    return vb::CStr(std::get<double>(o));
}

double CalcKeys::lead_value(const Operand& o) {
    if (const auto* s = std::get_if<std::string>(&o)) return vb::Val(*s);
    return std::get<double>(o);
}

double CalcKeys::full_value(const Operand& o) {
    if (const auto* s = std::get_if<std::string>(&o)) {
        double v = 0;
        // "12." is a number; a lone "-" or "." is not and counts as 0.
        return full_number(*s, v) ? v : 0.0;
    }
    return std::get<double>(o);
}

void CalcKeys::reset() {
    point_typed = 0;
    op_count = 0;
    last_input = "NONE";
    pending_op = " ";
    memory = 0;
    recalled = 0;
}

void CalcKeys::digit(char d) {
    if (recalled == 1) {
        recalled = 0;
        display = ".";
        point_typed = 0;
    }
    if (last_input != "NUMS") {
        display = ".";
        point_typed = 0;
    }
    if (point_typed) {
        display += d;
    } else {
        // The digit goes in front of the point: "12." becomes "123.".
        const auto dot = display.find('.');
        display = display.substr(0, dot) + d + ".";
    }
    if (last_input == "NEG") display = "-" + display;
    last_input = "NUMS";
}

void CalcKeys::decimal() {
    if (last_input == "NEG") display = "-0.";
    else if (last_input != "NUMS") display = "0.";
    point_typed = 1;
    last_input = "NUMS";
}

void CalcKeys::op(char c) {
    const std::string key(1, c);
    if (recalled == 1) {
        // The recalled memory value is the number the operator works on,
        // as if it had been typed.
        recalled = 0;
        last_input = "NUMS";
    }
    entry_text = display;
    if (last_input == "NUMS") ++op_count;
    switch (op_count) {
        case 0:
            if (key == "-" && last_input != "NEG") {
                display = "-" + display;
                last_input = "NEG";
            }
            break;
        case 1:
            op1 = display;
            if (key == "-" && last_input != "NUMS" && pending_op != "=") {
                display = "-";
                last_input = "NEG";
            }
            break;
        case 2: {
            op2 = entry_text;
            const double b = full_value(op2);
            double r = 0;
            bool computed = true;
            if (pending_op == "+") {
                r = lead_value(op1) + lead_value(op2);
            } else if (pending_op == "-") {
                r = full_value(op1) - b;
            } else if (pending_op == "X" || pending_op == "%") {
                r = full_value(op1) * b;
            } else if (pending_op == "/") {
                if (b == 0) {
                    ui::MsgBox("Can't divide by zero", ui::vbExclamation, "Calculator");
                    computed = false;
                } else {
                    r = full_value(op1) / b;
                }
            } else if (pending_op == "=") {
                op1 = op2;
                computed = false;
            } else {
                computed = false;
            }
            if (computed) {
                if (std::isfinite(r)) {
                    op1 = r;
                } else {
                    // Beyond what a double holds: the first operand stays.
                    ui::MsgBox("Overflow", ui::vbExclamation, "Calculator");
                }
            }
            display = text(op1);
            op_count = 1;
            break;
        }
        default: break;  // operators only record themselves until "C"
    }
    if (last_input != "NEG") {
        last_input = "OPS";
        pending_op = key;
    }
}

void CalcKeys::percent() {
    // A recalled memory value is the entry the percent is taken of; the
    // result is a typed-in entry again, so the next operator counts it once.
    recalled = 0;
    display = vb::CStr(full_value(display) / 100);
    last_input = "Ops";
    pending_op = "%";
    point_typed = 1;
    ++op_count;
}

void CalcKeys::cancel_entry() {
    // A recalled value is the entry too: cleared, it is no operand.
    recalled = 0;
    display = "0.";
    point_typed = 0;
    last_input = "CE";
}

void CalcKeys::cancel() {
    display = "0.";
    op1 = 0.0;
    op2 = 0.0;
    memory = 0;
    reset();
}

void CalcKeys::mem_add() { memory += vb::Val(display); }
void CalcKeys::mem_sub() { memory -= vb::Val(display); }

void CalcKeys::mem_recall() {
    display = vb::Format(memory, "#################0.###");
    recalled = 1;
}

void CalcKeys::press(const std::string& k) {
    if (k.size() == 1 && k[0] >= '0' && k[0] <= '9') digit(k[0]);
    else if (k == ".") decimal();
    else if (k == "/" || k == "+" || k == "X" || k == "-" || k == "=") op(k[0]);
    else if (k == "%") percent();
    else if (k == "CE") cancel_entry();
    else if (k == "C") cancel();
    else if (k == "M+") mem_add();
    else if (k == "M-") mem_sub();
    else if (k == "MRC") mem_recall();
}

void CalcKeys::keys(const std::string& captions) {
    std::istringstream in(captions);
    std::string k;
    while (in >> k) press(k);
}

bool CalcKnob::move(int x, bool& switch_off) {
    switch_off = false;
    if (!down) return false;
    if (moves <= 10) {
        ++moves;
        return false;
    }
    moves = 0;
    switch_off = x > 400;
    return true;
}
