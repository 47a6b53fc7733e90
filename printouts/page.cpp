// Printing statements with the printer-fault question, and the body font.
#include "printouts/page.h"

#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"

namespace {
constexpr int kErrDeviceTimeout = 25;
}

void printer_retry(const std::function<void()>& op, FaultQuestion q) {
    for (;;) {
        try {
            op();
            return;
        } catch (const ui::Cancelled&) {
            throw PrintAbandoned{};  // the dealer stopped it on the progress window
        } catch (const ui::RtError& e) {
            if (e.number != kErrDeviceTimeout) throw;
            // The printer keeps the failed operation undone: try it again
            // when the user has seen to the printer, or give the printout up.
            if (ui::MsgBox(q.text, ui::vbOKCancel | ui::vbExclamation, q.title) == ui::vbCancel) throw PrintAbandoned{};
        }
    }
}

std::vector<prn::Item> to_items(const PrintLine& l) {
    std::vector<prn::Item> v;
    v.reserve(l.items.size());
    for (const PrintItem& it : l.items) {
        switch (it.kind) {
            case PrintItem::kTab: v.push_back(prn::Tab(it.n)); break;
            case PrintItem::kSpc: v.push_back(prn::Spc(it.n)); break;
            case PrintItem::kText: v.emplace_back(it.text); break;
        }
    }
    return v;
}

void print_line(const PrintLine& l, FaultQuestion q) {
    const std::vector<prn::Item> items = to_items(l);
    prn::Printer& P = prn::printer();
    printer_retry([&] { P.Print(items, l.open ? prn::Open : prn::Ended); }, q);
}

void Fnt_body() {
    prn::Printer& P = prn::printer();
    // Every step but the name and the further setting passes a refusal over.
    auto step = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const ui::RtError&) {}
    };
    if (g.fnt_body_name != "Courier" && g.fnt_body_name != "Courier New") g.fnt_body_name = "Courier";
    try {
        P.FontName(g.fnt_body_name);
    } catch (const ui::RtError&) {
        g.fnt_body_name = "Courier";
        step([&] { P.FontName(g.fnt_body_name); });
    }
    switch (g.fnt_body_size) {
        case 9:
        case 10:
        case 11:
        case 12:
        case 14:
        case 15:
        case 16: break;
        default: g.fnt_body_size = 10;
    }
    step([&] { P.FontSize(static_cast<float>(g.fnt_body_size)); });
    step([&] { P.FontBold(g.fnt_body_bold == "True"); });
    step([&] { P.FontItalic(false); });
    step([&] { P.FontTransparent(false); });
    step([&] { P.FontStrikethru(false); });
    try {
        P.FontCharset(vb::CLng(g.fnt_body_x));
    } catch (const ui::RtError&) {
        g.fnt_body_x = 0;
        step([&] { P.FontCharset(0); });
    }
}
