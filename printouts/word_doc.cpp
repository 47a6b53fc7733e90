// The Word document procedure and the project block of the Word documents.
#include "printouts/word_doc.h"

#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "printouts/page.h"
#include "printouts/report.h"
#include "printouts/values.h"

namespace {
constexpr int kErrCannotCreate = 429;
constexpr int kErrNoDocument = 4248;
constexpr int kErrBadPicture = 5152;
}  // namespace

WordDoc::~WordDoc() { quit(); }

void WordDoc::quit() {
    if (!app_) return;
    // Nothing is saved; a failure to close or quit changes nothing more.
    try {
        if (open_) app_->Close();
    } catch (...) {}
    try {
        app_->Quit();
    } catch (...) {}
    open_ = false;
    app_.reset();
}

void WordDoc::step(const std::function<void()>& f) {
    try {
        printer_retry(f, kCheckPaper);
    } catch (const PrintAbandoned&) {
        throw DocAbandoned{};
    }
}

std::string word_picture(int brand) {
    int n = 0;
    if (g.models_used >= 1 && g.models_used <= 3) n = g.models_used + 3;
    return g.data_dir + "hppic" + std::to_string(n) + std::to_string(brand) + ".bmp";
}

void WordDoc::open(bool summary) {
    location_ = 0;
    const office_app::WordFactory& make = office_app::word_factory();
    if (!make) throw ui::RtError(kErrCannotCreate, ui::ErrorText(kErrCannotCreate));
    app_ = make();
    if (!app_) throw ui::RtError(kErrCannotCreate, ui::ErrorText(kErrCannotCreate));

    brand_ = brand_number();
    if (brand_ == 0)
        throw ui::RtError(kErrNoDocument, "No template for the brand \"" + brand_text() +
                                              "\" (the brand must be Kestrolin, Tindraly or Morvenic)");
    const std::string letter(summary ? 2 : 1, static_cast<char>('a' + brand_ - 1));
    const std::string name = std::string("WordPrt") + (g.company_var == 0 ? "1" : "2") + letter + ".dotx";
    step([&] { app_->Documents_Open(g.data_dir + name); });
    open_ = true;
    location_ = 24;

    // The picture, or its fallbacks once each; a document whose pictures
    // are all missing prints without one.
    const std::string tries[] = {word_picture(brand_), g.data_dir + "hppic3", g.data_dir + "hppic1"};
    for (const std::string& file : tries) {
        try {
            step([&] { app_->Bookmarks_Select("Getpic"); });
            step([&] { app_->InlineShapes_AddPicture(file); });
            break;
        } catch (const ui::RtError& e) {
            if (e.number != kErrBadPicture) throw;
        }
    }
    step([&] { app_->Visible(false); });
}

void WordDoc::fill(const std::string& bookmark, const std::string& text) {
    step([&] { app_->Bookmarks_Select(bookmark); });
    step([&] { app_->InsertAfter(text); });
}

void WordDoc::finish() {
    step([&] { app_->PrintOut(); });
    app_->Close();
    open_ = false;
    app_->Quit();
    app_.reset();
}

void WordDoc::fail(const std::exception_ptr& e, const std::string& extra) {
    try {
        std::rethrow_exception(e);
    } catch (const DocAbandoned&) {
    } catch (const ui::ProgramEnd&) {
        quit();
        throw;
    } catch (const ui::RtError& r) {
        ui::MsgBox(r.description() + vb::Str(r.number) + " in " + vb::Str(location_) + extra, ui::vbOKOnly, title_);
    } catch (const std::exception& x) {
        ui::MsgBox(std::string(x.what()) + vb::Str(51) + " in " + vb::Str(location_) + extra, ui::vbOKOnly, title_);
    }
    quit();
}

void fill_project_block(WordDoc& d, bool summary) {
    const bool pool = !is_spa();
    const bool heater = has_heater();
    d.fill("bm6", pool ? "  Pool Area:" : "  Spa Area:");
    d.fill("bmb6", area_text());
    d.fill("bm12", "  Weather Data Used:  ");
    if (g.area_group >= 0 && g.area_group <= 2) d.fill("bmb12", city_text());
    d.fill("bm7", "  Avg Depth:");
    d.fill("bmb7", depth_text());
    d.fill("bm13", "  Avg Wind Speed:       ");
    d.fill("bmb13", wind_text());
    d.fill("bm8", "  Water Volume:");
    d.fill("bmb8", volume_text(Doc::Word));
    d.fill("bm14", "  Exposure to the Sun:");
    d.fill("bmb14", sun_text());
    d.fill("bm9", "  Pool Returns:");
    d.fill("bmb9", returns_text());
    d.fill("bm10", pool ? "  Pool:" : "  Spa:");
    d.fill("bmb10", is_indoor() ? "Indoor" : "Outdoor");
    d.fill("bm102", "  Backup:");
    d.fill("bmb102", has_backup() ? "With backup" : "No backup");
    d.fill("bm15", "  Cost per  KWH:");
    d.fill("bmb15", electricity_text());
    d.fill("bm16", heater ? "  Existing Heater:" : "  " + std::string(16, ' '));
    d.fill("bmb16", fuel_name());
    const PeakLoss peak = peak_loss(Doc::Word);
    d.fill("bm11", "  Loss " + peak.label + (summary ? " in peak month uncovered: " : " in peak month: "));
    d.fill("bmb11", peak.value);
    const FuelPrice fp = fuel_price();
    d.fill("bm17", "  " + fp.caption);
    d.fill("bmb17", fp.price);
    std::string caption, model_b, model_c, model_a;
    pump_title(caption, model_b, model_c, model_a);
    d.fill("bm18", (summary ? std::string(18, ' ') : std::string()) + "Proposed System:   " + caption);
}
