// The quick calculator's arithmetic as a state machine, without any window:
// digit, decimal point, operator, percent, clear, clear-entry and memory
// keys, and the display text they leave. The window only forwards its key
// clicks and shows `display`.
#pragma once

#include <string>
#include <variant>

class CalcKeys {
public:
    // An operand as the keys leave it: the text of the display as it was
    // typed, or a computed number.
    using Operand = std::variant<std::string, double>;

    std::string display = "0.";       // the read-out
    Operand op1 = 0.0;                // first operand, then the running result
    Operand op2 = 0.0;                // second operand
    int point_typed = 0;              // the decimal point is in the number being typed
    int op_count = 0;                 // operands entered since the last result
    std::string last_input = "NONE";  // "NONE", "NUMS", "NEG", "OPS", "Ops", "CE"
    std::string pending_op = " ";     // operator waiting for its second operand
    std::string entry_text;           // the display at the start of an operator key
    double memory = 0;
    int recalled = 0;  // the display shows a recalled memory value

    // The state of a fresh calculator (the window's load): the display
    // keeps its text.
    void reset();

    void digit(char d);   // "0" .. "9"
    void decimal();       // "."
    void op(char c);      // "/", "+", "X", "-", "="
    void percent();       // "%"
    void cancel_entry();  // "CE"
    void cancel();        // "C": clears everything, memory included
    void mem_add();       // "M+"
    void mem_sub();       // "M-"
    void mem_recall();    // "MRC"

    // Presses keys by their captions separated by blanks, e.g. "5 + 3 =";
    // for tests and for the window's key table alike.
    void press(const std::string& caption);
    void keys(const std::string& captions);

    // The text an operand shows: a typed text as it is, a number in general
    // form ("8", "0.05", "12.5").
    static std::string text(const Operand& o);
    // Leading-number value ("+" and the memory keys) and full value ("-",
    // "X", "/", "%"; a text that is no number counts as 0).
    static double lead_value(const Operand& o);
    static double full_value(const Operand& o);
};

// The "ON" switch of the calculator: it follows the mouse sideways on every
// twelfth move while the button is held; dragged past 400 twips it switches
// the calculator off.
struct CalcKnob {
    int down = 0;
    int moves = 0;
    // A move to x (twips, in the switch's own coordinates). Returns true
    // when the switch is to jump to x (then `switch_off` says whether it
    // has gone far enough to switch the calculator off).
    bool move(int x, bool& switch_off);
};
