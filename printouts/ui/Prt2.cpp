// The printout selection window.
#include "printouts/ui/Prt2.h"

#include <iterator>

#include <QFont>
#include <QLineEdit>
#include <QPointer>

#include "app/data.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "office/render.h"
#include "platform/instances.h"
#include "platform/print_qt.h"
#include "printouts/printouts.h"
#include "printouts/ui/register.h"

namespace {

QPointer<Prt2> g_prt2;

// The project input window, when it exists.
plat::Form* input_window() { return windows().weathers ? windows().weathers.existing() : nullptr; }

void set_input_enabled(bool on) {
    if (plat::Form* f = input_window()) f->SetEnabled(on);
}

// The input window's Print button.
void set_input_print_available(bool on) {
    if (windows().enable_project_print) windows().enable_project_print(on);
}

enum Button { kPrint = 0, kExit = 1, kSelectPrinter = 2 };

// The list rows, in list order: the item, its print choice and which of the
// three options (small title fonts, letter head, round up) apply to it.
struct ListRow {
    const char* item;
    PrintChoice choice;
    bool small_title, letter_head, round_up;
};
constexpr ListRow kRows[] = {
    {"Summary", kChoiceSummary, false, false, true},
    {"One coverage", kChoiceOneCoverage, false, false, false},
    {"One coverage and chart", kChoiceCoverageChart, false, false, false},
    {"Plain text", kChoicePlainText, true, true, false},
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));

}  // namespace

Printouts& printouts() {
    static Printouts p = [] {
        Printouts d;
        d.prt_word = [] { return ::prt_word(); };
        d.prt_graph = [] { ::prt_graph(); };
        d.To_print = [] { ::To_print(); };
        d.prt_word_summary = [] { ::prt_word_summary(); };
        d.select_printer = [] { plat::selectPrinter(frm_prt2()); };
        d.warm_office = [] { office::renderer::start(); };
        return d;
    }();
    return p;
}

Prt2* frm_prt2() { return plat::instance(g_prt2); }

void register_printouts_windows() { windows().Prt2 = plat::window_slot(g_prt2); }

Prt2::Prt2() : plat::Form("Prt2") {
    SetCaption("Printout selection");
    SetSize(4800, 3150);
}

void Prt2::build() {
    Combo1 = new plat::ComboBox(this, 0, true);
    Combo1->lineEdit()->setReadOnly(true);  // a printout is chosen from the list
    Combo1->Click = [this](int) { Combo1_Click(Combo1->ListIndex()); };
    place(Combo1, 240, 180, 4200, 330);

    Check1 = new plat::CheckBox(" Small title fonts", this);
    Check2 = new plat::CheckBox("letter head", this);
    Check3 = new plat::CheckBox("Round up Summary costs", this);
    Check1->Click = [this](int i) { Check1_Click(i); };
    Check2->Click = [this](int i) { Check2_Click(i); };
    Check3->Click = [this](int i) { Check3_Click(i); };
    int top = 690;
    for (plat::CheckBox* c : {Check1, Check2, Check3}) {
        place(c, 360, top, 4080, 300);
        top += 360;
    }

    const char* captions[] = {"Print", "Exit", "Select a printer"};
    const int lefts[] = {240, 1440, 2520};
    const int widths[] = {1080, 960, 1920};
    for (int i = kPrint; i <= kSelectPrinter; ++i) {
        auto* b = new plat::CommandButton(captions[i], this, i);
        b->Click = [this](int k) { SSCommand1_Click(k); };
        place(b, lefts[i], 1920, widths[i], 420);
        SSCommand1[i] = b;
    }
}

void Prt2::Form_Load() {
    g.letter_head = 0;
    Combo1->Clear();
    Combo1->SetText(kRows[0].item);
    g.prt_choice = kRows[0].choice;
    for (const ListRow& r : kRows) Combo1->AddItem(r.item);
    // Loaded afresh: the ticks are what the data model holds, never what
    // the boxes kept from the last opening (letter head was cleared above).
    Check1->SetValue(g.small_title != 0 ? 1 : 0);
    Check2->SetValue(0);
    offer_options(0);
    Check3->SetValue(g.round_up == 1 ? 1 : 0);
    if (printouts().warm_office) printouts().warm_office();
}

void Prt2::Form_Activate() { Check3->SetValue(g.round_up == 1 ? 1 : 0); }

void Prt2::Form_Deactivate() {
    // Stay in front of the input window while open, without taking the
    // activation back from the window the user went to.
    if (subWindow()) subWindow()->raise();
}

void Prt2::Form_Unload(int& cancel) {
    (void)cancel;
    set_input_print_available(true);
    // Closed by its close box (or at shutdown) rather than by its buttons:
    // the input window is given back as Exit does. Print keeps it disabled
    // until the printout has ended.
    if (!in_click_) set_input_enabled(true);
}

void Prt2::Combo1_Click(int index) {
    if (index < 0 || index >= kRowCount) return;
    g.prt_choice = kRows[index].choice;
    offer_options(index);
}

// Only whether each option box can be used; its tick stays.
void Prt2::offer_options(int row) {
    Check1->setEnabled(kRows[row].small_title);
    Check2->setEnabled(kRows[row].letter_head);
    Check3->setEnabled(kRows[row].round_up);
}

void Prt2::Check1_Click(int) { g.small_title = Check1->Value() == 1 ? 1.0f : 0.0f; }
void Prt2::Check2_Click(int) { g.letter_head = static_cast<i16>(Check2->Value() == 1 ? 1 : 0); }
void Prt2::Check3_Click(int) { g.round_up = static_cast<i16>(Check3->Value() == 1 ? 1 : 0); }

void Prt2::SSCommand1_Click(int index) {
    // Whatever happens below, once this window has gone the input window is
    // given back, in front (a "Printout saved" box or the window activated
    // meanwhile must not leave another one over it), with the normal pointer.
    // While this window stays open ("Select a printer") the input window
    // stays disabled.
    struct GiveBack {
        Prt2* self;
        ~GiveBack() {
            self->in_click_ = false;
            if (self->isLoaded()) return;
            set_input_enabled(true);
            if (plat::Form* f = input_window()) f->ZOrder(0);
        }
    } give_back{this};
    in_click_ = true;
    ui::BusyPointer busy;
    switch (index) {
        case kPrint: {
            Dfltout();
            Unload();
            Printouts& p = printouts();
            try {
                switch (static_cast<PrintChoice>(g.prt_choice)) {
                    case kChoiceCoverageChart: {
                        // The chart follows an audit that was printed. Both
                        // are rendered together once both are filled, so
                        // one question names both files.
                        office::PrintBatch batch;
                        if (p.prt_word()) p.prt_graph();
                        batch.finish();
                        break;
                    }
                    case kChoicePlainText: p.To_print(); break;
                    case kChoiceReportBook:
                        if (windows().The_Print) windows().The_Print();
                        break;
                    case kChoiceOneCoverage: p.prt_word(); break;
                    case kChoiceSummary: p.prt_word_summary(); break;
                }
                // Any other number runs nothing.
            } catch (const ui::ProgramEnd&) {
                throw;
            } catch (const ui::RtError& e) {
                ui::MsgBox(e.description() + vb::Str(e.number) + " in Prt2", ui::vbOKOnly, "Printout error");
            } catch (const std::exception& e) {
                ui::MsgBox(e.what(), ui::vbOKOnly, "Printout error");
            }
            set_input_print_available(true);
            break;
        }
        case kExit: Unload(); break;
        case kSelectPrinter: printouts().select_printer(); break;
        default: break;
    }
}
