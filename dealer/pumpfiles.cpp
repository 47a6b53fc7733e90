#include "dealer/pumpfiles.h"

#include "app/data.h"
#include "core/vbtext.h"

namespace pumpfiles {

namespace {

constexpr double kBtuBase[8] = {63000, 60000, 55600, 51000, 46000, 41000, 38000, 35000};

// A stored value as its shortest decimal text read back, so a single shows
// the digits it was typed with (80.1, not 80.09999847).
double shown(float v) { return vb::Val(vb::CStrSingle(v)); }
double shown(double v) { return vb::Val(vb::CStr(v)); }

template <class Rec> void show_points(const Rec& r, int model, ModelBoxes& b, const char* rhMask, const char* btuMask,
                                      const char* waterMask, const char* copMask) {
    const int first = (model - 1) * 8;
    for (int i = 0; i < 8; ++i) {
        const int p = first + i + 1;
        b.rh[i] = vb::Format(shown(r.rh[p]), rhMask);
        b.btu[i] = vb::Format(shown(r.btu[p]), btuMask);
        b.water[i] = vb::Format(shown(r.water_temp[p]), waterMask);
        b.cop[i] = vb::Format(shown(r.cop[p]), copMask);
    }
}

template <class Rec> void store_points(Rec& r, int model, const ModelBoxes& b) {
    const int first = (model - 1) * 8;
    for (int i = 0; i < 8; ++i) {
        const int p = first + i + 1;
        r.rh[p] = static_cast<float>(number(b.rh[i]));
        r.cop[p] = static_cast<float>(number(b.cop[i]));
        r.btu[p] = number(b.btu[i]);
        r.water_temp[p] = static_cast<float>(number(b.water[i]));
    }
}

}  // namespace

const std::array<const char*, 8> kCopColumn = {"6.06", "5.79", "5.35", "5.00", "4.60", "4.20", "3.70", "3.20"};

std::string file_of(int mode) {
    if (mode >= 2 && mode <= 4) return "PumpHP" + std::to_string(mode - 1) + ".dat";
    return "PumpHP.dat";
}

int models_of(int mode) { return mode >= 2 && mode <= 4 ? kCompetitorModels : kMakerModels; }

ModelBoxes show_maker(const PumpBrand& r, int model) {
    ModelBoxes b;
    if (model < 1 || model > kMakerModels) return b;
    show_points(r, model, b, "#,##0.00", "#,##0", "#,##0", "#,##0.00");
    b.designation = vb::Trim(r.model[model]);
    b.in_list = r.in_list[model] == 1;
    return b;
}

ModelBoxes show_competitor(const CompetitorPump& r, int model, int k) {
    ModelBoxes b;
    if (model < 1 || model > kCompetitorModels) return b;
    if (k == 1) show_points(r, model, b, "#,##0.00", "#,##0", "#,##0", "#,##0.00");
    else show_points(r, model, b, "##0.00", "#####0", "##0", "#0.00");
    b.designation = r.model[model];
    return b;
}

double number(const std::string& box) { return vb::Val(remove_comma(box)); }

void store_maker(PumpBrand& r, int model, const ModelBoxes& b, const std::string& caption) {
    if (model < 1 || model > kMakerModels) return;
    r.in_list[model] = b.in_list ? 1 : 0;
    std::string name;
    for (char c : caption)
        if (c != ' ') name += c;
    r.brand = vb::FixLen(name, 39);
    store_points(r, model, b);
    r.model[model] = vb::FixLen(b.designation, 25);
}

void store_competitor(CompetitorPump& r, int model, const ModelBoxes& b) {
    if (model < 1 || model > kCompetitorModels) return;
    store_points(r, model, b);
    r.model[model] = vb::FixLen(b.designation, 25);
}

std::array<std::string, 8> btu_column(int model, const std::string& step) {
    const float f = 1.0f + static_cast<float>(model - 1) * static_cast<float>(vb::Val(step));
    std::array<std::string, 8> out;
    for (int i = 0; i < 8; ++i) out[i] = vb::Format(f * kBtuBase[i], "#,##0");
    return out;
}

}  // namespace pumpfiles
