// The one-page plain-text audit: company name, title, customer, project
// data, the proposed system, the month table (printed by calculate3),
// totals, the saving sentences and closing notes, in fixed-pitch columns at
// the column offset C = 9.
#include <algorithm>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "printouts/page.h"
#include "printouts/printouts.h"
#include "printouts/report.h"
#include "printouts/values.h"

namespace {

constexpr int C = 9;  // column offset of the page
// The last column of the printable width in 10-point Courier (6-point cells).
constexpr int kLastColumn = static_cast<int>(prn::kPrintableWidth / 6.0);
constexpr double kFiveYearRise = 5.256343;  // five years of a 2.5 % yearly energy-price rise
const char* const kMoney = "$##,##0.00";

// The step of the page being printed, reported with an unexpected error.
int g_step = 0;

void line(const PrintLine& l) { print_line(l, kCheckPaper); }
void empty_lines(int n) {
    for (int i = 0; i < n; ++i) line(PrintLine{});
}
void printer_op(const std::function<void()>& op) { printer_retry(op, kCheckPaper); }

// A total right-aligned to end in column 2 C + k - 4.
PrintLine& amount(PrintLine& l, int k, Currency v) {
    const std::string t = vb::Format(v.toDouble(), kMoney);
    return l.tab(2 * C + k - 3 - static_cast<int>(vb::Len(t))).text(t);
}

void company_line() {
    prn::Printer& P = prn::printer();
    // An empty company name prints as 18 blanks; the settings keep the name.
    std::string name = vb::Trim(g.company_name);
    if (name.empty()) name = std::string(18, ' ');
    const int L = static_cast<int>(vb::Len(name));
    if (g.small_title == 1.0f) {
        printer_op([&] { P.FontSize(10); });
        const int pad = (66 - L) / 2;
        Fnt_body();
        // Under a letter head one line less, so that the page stays one page
        // with a fuel heater's saving sentences.
        empty_lines(g.letter_head == 1 ? 1 : 2);
        line(PrintLine{}.tab(C + 4).spc(pad).text(name));
    } else {
        const int name_pad = 42 - L > 1 ? (42 - L) / 2 : 0;
        const std::string text = vb::RTrim(name_pad < 2 ? name : vb::Space(name_pad) + name);
        line(PrintLine{}.spc(C - 2).leaveOpen());
        printer_op([&] { P.FontSize(20); });
        line(PrintLine{}.text(text));
    }
}

// The city as its list shows it, and the column it starts in (at). A long
// entry ("Country_  City") is moved left, at most to the blank after its
// label, with its list padding squeezed, so that it ends inside the page;
// one still too long gives the city's name alone.
std::string placed_city(int& at) {
    std::string city = city_text();
    auto fits = [](int col, const std::string& t) { return col + static_cast<int>(vb::Len(t)) - 1 <= kLastColumn; };
    at = C + 71;
    if (!fits(at, city)) {
        std::string squeezed;
        for (char ch : city)
            if (!(ch == ' ' && !squeezed.empty() && squeezed.back() == ' ')) squeezed += ch;
        city = squeezed;
        at = std::max(C + 70, kLastColumn + 1 - static_cast<int>(vb::Len(city)));
        if (!fits(at, city)) {
            city = vb::Trim(g.city_name);
            at = std::max(C + 70, std::min(C + 71, kLastColumn + 1 - static_cast<int>(vb::Len(city))));
        }
    }
    return city;
}

void page() {
    prn::Printer& P = prn::printer();
    g.col_offset = C;
    g_step = 2;
    P.DocumentName("Plain text audit");
    try {
        P.PrintQuality(-4);
    } catch (const ui::RtError&) {
        // Some printers know no such setting: the page goes on without it.
    }
    printer_op([&] { P.DeviceSetting(0); });
    printer_op([&] {
        P.FontName("Courier New");
        P.FontSize(10);
        P.FontBold(true);
    });

    g_step = 3;
    empty_lines(g.letter_head == 1 ? 11 : 3);
    g_step = 5;
    company_line();
    g_step = 7;
    printer_op([&] {
        P.FontSize(10);
        P.FontBold(false);
    });
    empty_lines(1);

    g_step = 8;
    const std::string brand = short_brand();
    const bool pool = !is_spa();
    line(PrintLine{}.spc(C + 25).text(audit_title()));
    empty_lines(3);

    g_step = 11;
    line(PrintLine{}.tab(C + 2).text("Kestrolin").tab(C + 49).text("For:").tab(C + 54).text(g.cust_name));
    line(PrintLine{}.tab(C + 54).text(g.cust_street));
    line(PrintLine{}.tab(C + 54).text(g.cust_city));
    empty_lines(2);

    g_step = 13;
    const bool heater = has_heater();
    auto data = [](const std::string& a, const std::string& b, const std::string& c, const std::string& d) {
        PrintLine l;
        if (!a.empty() || !b.empty()) l.tab(C + 2).text(a).tab(C + 22).text(b);
        if (!c.empty() || !d.empty()) l.tab(C + 49).text(c).tab(C + 71).text(d);
        line(l);
    };
    {
        int at = 0;
        const std::string city = placed_city(at);
        line(PrintLine{}
                 .tab(C + 2)
                 .text(pool ? "Pool Area:         " : "Spa Area:          ")
                 .tab(C + 22)
                 .text(area_text())
                 .tab(C + 49)
                 .text("Weather data used:  ")
                 .tab(at)
                 .text(city));
    }
    data("Avg Depth:          ", depth_text(), "Ave wind speed:       ", wind_text());
    data("Water Volume:       ", volume_text(Doc::Plain), "Exposure to the sun:", sun_text());
    data("Pool Returns:      ", g.opt_reduce != 0 ? "Floor  " : "Standard", "", "");
    const std::string setting =
        std::string(is_indoor() ? "Indoor" : "Outdoor") + (has_backup() ? " with backup " : " with no backup   ");
    data(pool ? "Pool:   " : "Spa:    ", setting, "Cost per  KWH:    ", electricity_text());
    line(PrintLine{}
             .tab(C + 49)
             .text(heater ? "Existing heater:      " : std::string(22, ' '))
             .tab(C + 71)
             .text(fuel_name()));
    const PeakLoss peak = peak_loss(Doc::Plain);
    // The unit label is followed by one blank ("KBtu/H ", "KWatt/Hr ").
    const std::string unit = peak.label.back() == ' ' ? peak.label : peak.label + " ";
    const FuelPrice fp = fuel_price();
    line(PrintLine{}
             .tab(C + 2)
             .text("Loss " + unit + "in peak month: " + peak.value)
             .tab(C + 49)
             .text(fp.caption)
             .tab(C + 71)
             .text(fp.price));
    empty_lines(3);

    g_step = 15;
    std::string caption, model_b, model_c, model_a;
    pump_title(caption, model_b, model_c, model_a);
    line(PrintLine{}.tab(C + 2).text("Proposed System:   " + caption));
    empty_lines(2);

    g_step = 17;
    const std::string T = temp_unit();
    // The brand heads the saving column in full (9 characters, the width of
    // "$ Savings" under it).
    line(PrintLine{}
             .tab(C + 2)
             .text("      Avg Air  Water   Cover    Heating    Heat Pump      " + vb::Left(fuel_name(), 7))
             .tab(C + 73)
             .text(heater ? vb::Left(brand, 9) : std::string(9, ' ')));
    line(PrintLine{}
             .tab(C + 2)
             .text("      Temp " + T + "  Temp " + T + " Hrs/Day  Hrs/Day     $ Cost       " +
                   (!heater         ? std::string(9, ' ')
                    : !has_backup() ? " $ Cost  "
                                    : " $ Backup"))
             .tab(C + 73)
             .text(heater ? "$ Savings" : std::string(9, ' ')));
    empty_lines(1);

    g_step = 18;
    double hp_year = 0;
    Currency fuel_year, saving_year;
    calculate3(hp_year, fuel_year, saving_year);
    empty_lines(1);

    g_step = 19;
    {
        PrintLine total, five;
        total.tab(C + 26).text("Total: ");
        five.tab(C + 19).text("5 year total: ");
        amount(total, 48, g.tot_hp);
        amount(five, 48, g.tot_hp * 5);
        if (heater) {
            amount(total, 62, g.tot_heater);
            amount(total, 76, g.tot_saving);
            amount(five, 62, g.tot_heater * 5);
            amount(five, 76, g.tot_saving * 5);
        }
        line(total);
        empty_lines(1);
        line(five);
    }
    empty_lines(3);

    g_step = 21;
    // The saving sentences only where there is a saving: "you will be saving
    // -$1,434" is no sentence to hand a customer.
    if (heater && saving_year > Currency{}) {
        const double s = saving_year.toDouble();
        line(PrintLine{}.tab(C).text("  By using " + with_article(brand) + " heater you will be saving " +
                                     vb::Format(s, "$##,##0") + " per year"));
        line(PrintLine{}.tab(C).text("  or " + vb::Format(s * kFiveYearRise, "$##,##0") + " in 5 years. A saving of " +
                                     g.proj_save));
        empty_lines(1);
    }

    g_step = 22;
    line(PrintLine{}.tab(C).text("  Above data is based on historical weather data of the last 30 years"));
    line(PrintLine{}.tab(C).text("  in " + vb::Trim(g.city_name)));
    line(PrintLine{}.tab(C).text("  Wind speed will greatly affect the performance and cost of operation."));
    line(PrintLine{}.tab(C).text("  For a more detailed proposal please contact your "));
    line(PrintLine{}.tab(C).text("  " + brand + " distributor.                              Date " + date_text()));

    g_step = 23;
    printer_op([&] { P.EndDoc(); });
}

}  // namespace

void To_print() {
    ui::BusyPointer busy;
    g_step = 1;
    try {
        page();
        return;
    } catch (const PrintAbandoned&) {
    } catch (const ui::ProgramEnd&) {
        throw;
    } catch (const ui::RtError& e) {
        ui::MsgBox(e.description() + vb::Str(e.number) + " in " + vb::Str(g_step), ui::vbOKOnly, "To print error");
    } catch (const std::exception& e) {
        ui::MsgBox(std::string(e.what()) + vb::Str(51) + " in " + vb::Str(g_step), ui::vbOKOnly, "To print error");
    }
    prn::printer().KillDoc();
}
