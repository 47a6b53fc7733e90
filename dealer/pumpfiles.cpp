#include "dealer/pumpfiles.h"

#include <charconv>

#include "app/data.h"
#include "core/vbtext.h"

namespace pumpfiles {

namespace {

constexpr double kBtuBase[8] = {63000, 60000, 55600, 51000, 46000, 41000, 38000, 35000};

// A stored value as its shortest decimal text read back, so a single shows
// the digits it was typed with (80.1, not 80.09999847).
double shown(float v) { return vb::Val(vb::CStrSingle(v)); }
double shown(double v) { return vb::Val(vb::CStr(v)); }

// How each column shows its figures: the maker's tables and the first
// competitor's with digits grouped, the other competitors' without.
struct Masks {
    const char *rh, *btu, *water, *cop;
};
constexpr Masks kGrouped{"#,##0.00", "#,##0", "#,##0", "#,##0.00"};
constexpr Masks kPlain{"##0.00", "#####0", "##0", "#0.00"};

const char* mask_of(const Masks& m, Column c) {
    switch (c) {
        case Column::Rh: return m.rh;
        case Column::Cop: return m.cop;
        case Column::Btu: return m.btu;
        case Column::Water: return m.water;
    }
    return m.btu;
}

// The eight points of a model, each value as text(value, column).
template <class Rec, class Text> void points(const Rec& r, int model, ModelBoxes& b, Text text) {
    const int first = (model - 1) * 8;
    for (int i = 0; i < 8; ++i) {
        const int p = first + i + 1;
        b.rh[i] = text(r.rh[p], Column::Rh);
        b.btu[i] = text(r.btu[p], Column::Btu);
        b.water[i] = text(r.water_temp[p], Column::Water);
        b.cop[i] = text(r.cop[p], Column::Cop);
    }
}

template <class Rec> void show_points(const Rec& r, int model, ModelBoxes& b, const Masks& m) {
    points(r, model, b, [&m](auto v, Column c) { return vb::Format(shown(v), mask_of(m, c)); });
}

// Fixed notation, shortest round trip: what number() reads back is the
// value itself (float stays float, the double output stays double).
template <class T> std::string exact(T v) {
    char buf[400];  // the widest double in fixed notation is 309 digits and a sign
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return res.ec == std::errc{} ? std::string(buf, res.ptr) : vb::CStr(static_cast<double>(v));
}

template <class Rec> ModelBoxes figure_points(const Rec& r, int model, int models) {
    ModelBoxes b;
    if (model < 1 || model > models) return b;
    points(r, model, b, [](auto v, Column) { return exact(v); });
    return b;
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
    show_points(r, model, b, kGrouped);
    b.designation = vb::Trim(r.model[model]);
    b.in_list = r.in_list[model] == 1;
    return b;
}

ModelBoxes show_competitor(const CompetitorPump& r, int model, int k) {
    ModelBoxes b;
    if (model < 1 || model > kCompetitorModels) return b;
    show_points(r, model, b, k == 1 ? kGrouped : kPlain);
    b.designation = r.model[model];
    return b;
}

ModelBoxes figures(const PumpBrand& r, int model) { return figure_points(r, model, kMakerModels); }

ModelBoxes figures(const CompetitorPump& r, int model) { return figure_points(r, model, kCompetitorModels); }

double number(const std::string& box) { return vb::Val(remove_comma(box)); }

std::string cell_text(Column c, const std::string& box, int k) {
    if (vb::Trim(box).empty()) return box;
    return vb::Format(number(box), mask_of(k <= 1 ? kGrouped : kPlain, c));
}

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
