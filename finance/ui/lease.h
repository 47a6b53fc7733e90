// The finance calculator window: prices the project's heat-pump system as a
// lease or a loan. The dealer picks the mode and the term and types the
// amounts; the figures are worked out by fin::Leasedat (finance/leasedat.h)
// when the window opens or becomes active again, on a mode or term change
// and on its two buttons. Typing only stores the value.
//
// Every user action runs the calculation once at its end, however many
// steps of it ask for one, so a too-small amount is reported once.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>

#include <map>
#include <optional>
#include <string>

#include "finance/leasedat.h"
#include "platform/form.h"

class lease : public plat::Form {
    Q_OBJECT
public:
    lease();

    // Controls by their numbers: Text(1..9, 11) input boxes, Label(1..29),
    // Option(1..6) term buttons.
    plat::TextBox* Text(int n) const;
    QLabel* Label(int n) const;
    plat::OptionButton* Option(int n) const;
    plat::ComboBox* Combo2 = nullptr;           // "Lease" / "loan"
    plat::CommandButton* SSCommand1 = nullptr;  // total payments / total costs
    plat::CommandButton* SSCommand2 = nullptr;  // "CALCULATE"
    plat::CheckBox* Check1 = nullptr;           // "Cover letter"
    plat::CheckBox* Check2 = nullptr;           // "  Help off"
    QPlainTextEdit* Text10 = nullptr;           // help box

    void Form_Load() override;
    void Form_Activate() override;
    void Combo2_Click();
    void Option_Click(int n);
    void SSCommand1_Click();
    void SSCommand2_Click();
    void Check1_Click();
    void Check2_Click();
    void Text_Change(int n);
    void Text_GotFocus(int n);
    void Text_LostFocus(int n);

    // Shows the help of a field code (A, I, D, B, R, F, V, S) in Text10.
    void inputdata(char code);
    // Shows the controls of the current mode.
    void on_items();
    // Clamps the term, selects its button and recomputes.
    void opt_set();
    // How many calculations ran since the window was created.
    int calculations() const { return calculations_; }

protected:
    void build() override;

private:
    // One user action: the calculation asked for inside it runs once, when
    // the outermost action ends.
    class Action {
    public:
        explicit Action(lease* w) : w_(w) { ++w_->depth_; }
        ~Action();
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;

    private:
        lease* w_;
    };
    void recompute() { pending_ = true; }
    void calculate();
    void mode_layout();
    void help_off();
    // Places every control for the current mode, the help's room below
    // them while help is on, and sizes the window to hold them.
    void lay_out();
    QWidget* item(fin::Item i) const;
    void reset_box(int n);
    void set_box(int n, const std::string& text);
    QWidget* control(const std::string& name) const;

    // The box in focus and how it stood before the dealer began typing in
    // it: a refused down payment goes back to that.
    struct Typing {
        int box;
        fin::BoxEntry before;
    };
    std::optional<Typing> typing_;
    bool quiet_ = false;  // a box shows a text whose figures are stored already

    std::map<std::string, QWidget*> controls_;
    int depth_ = 0;
    bool pending_ = false;
    int calculations_ = 0;
};
