// The data store's shared routines apart from the settings file: input
// helpers, the data diskette, loading and checking the heat-pump and
// weather-city files, and the brand and model texts.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "app/data.h"
#include "app/records.h"
#include "app/settings.h"
#include "core/recfile.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPumpFile = "PumpHP.dat";
constexpr const char* kCityFile = "location.dat";
constexpr const char* kDefaultBrand = "Kestrolin";
constexpr const char* kDefaultModel = "HX 730TX";

void report_error(const std::string& where, int number, const std::string& reason) {
    std::string text = "Error " + std::to_string(number) + " in " + where;
    if (!reason.empty()) text += g.crlf + reason;
    ui::MsgBox(text, ui::vbOKOnly | ui::vbExclamation, "Error in " + where);
}

std::string join_lines(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) out += g.crlf;
        out += lines[i];
    }
    return out;
}

std::string no_blanks_upper(const std::string& s) {
    std::string out;
    strip_spaces(s, out);
    return out;
}

// A file with more records than the table holds is reported once for each
// file as it stands (path and length), not at every reload.
void tell_oversize(const std::string& path, const records::FileInfo& info, const std::string& what, std::size_t used) {
    static std::set<std::string> told;
    if (!info.oversize || !told.insert(path + "|" + std::to_string(info.length)).second) return;
    ui::MsgBox("The " + what + " holds more than " + std::to_string(used) + " records." + g.crlf + "Only the first " +
                   std::to_string(used) + " are used.",
               ui::vbOKOnly | ui::vbInformation, "Update file");
}

// Copies the rating points of one brand group into the working tables.
void copy_points(const PumpBrand& r, int first, int last) {
    for (int p = first; p <= last; ++p) {
        g.hp_rh[p] = r.rh[p];
        g.hp_cop[p] = r.cop[p];
        g.hp_btu[p] = r.btu[p];
        g.hp_wtemp[p] = r.water_temp[p];
    }
}

template <class T, std::size_t N> double table_sum(const std::array<T, N>& a, int hi) {
    double s = 0;
    for (int p = 1; p <= hi; ++p) s += static_cast<double>(a[p]);
    return s;
}

// The tables whose values add up to 0 (nothing entered).
template <class Rec> void missing_tables(const Rec& r, int points, std::vector<std::string>& items) {
    if (table_sum(r.rh, points) == 0) items.push_back("Relative humidity data");
    if (table_sum(r.cop, points) == 0) items.push_back("Co efficient of performance");
    if (table_sum(r.btu, points) == 0) items.push_back("BTU Output data");
    if (table_sum(r.water_temp, points) == 0) items.push_back("Pool/Spa Water temperatures..");
}

void verify_compet(const CompetitorPump& r) {
    try {
        std::vector<std::string> items;
        if (vb::Trim(r.brand).empty()) items.push_back("Brand name");
        if (vb::Trim(r.model[1]).empty()) items.push_back("Small  competitor model designation");
        if (vb::Trim(r.model[2]).empty()) items.push_back("Medium competitor designation");
        if (vb::Trim(r.model[3]).empty()) items.push_back("Large  competitor designation");
        missing_tables(r, 24, items);
        if (items.empty()) return;
        items.insert(items.begin(), "The following data is missing:");
        items.push_back("THE PROGRAM MAY FAIL");
        items.push_back("TO COMPARE COMPETITORS");
        ui::MsgBox(join_lines(items), ui::vbOKOnly, "Incomplete Heat Pump data");
    } catch (const std::exception& e) {
        report_error("verify pump", 5, e.what());
    }
}

// ---- the data diskette ------------------------------------------------------------

// The files of the data disk, what each is in the data folder, and the
// most records its table takes (0: the settings file, a text).
struct DiskFile {
    const char* onDisk;
    const char* inFolder;
    const char* kind;
    std::size_t recLen;
    std::size_t maxRecords;
};
constexpr DiskFile kDiskFiles[] = {
    {"defaults.dat", "defaulte.dat", "settings file", 0, 0},
    {"location.dat", "location.dat", "weather-city file", records::kCityLen, records::kMaxCities},
    {"pump.data", "PumpHP.dat", "heat pump data file", records::kPumpLen, records::kMaxPumps},
    {"pump.dat1", "PumpHP1.dat", "competitor heat pump file", records::kCompLen, 1},
    {"pump.dat2", "PumpHP2.dat", "competitor heat pump file", records::kCompLen, 1},
    {"pump.dat3", "PumpHP3.dat", "competitor heat pump file", records::kCompLen, 1},
};

std::string lower_ascii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The file `name` in `dir`, whatever the letter case of its name (diskettes
// often carry upper-case names); "" when there is none.
std::string find_no_case(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (lower_ascii(it->path().filename().string()) == name && it->is_regular_file(ec)) return it->path().string();
    }
    return {};
}

// A settings file's text that reads in full: every line there, and every
// value in it taken.
bool settings_read_in_full(const std::string& text) {
    auto m = std::make_unique<DataModel>();
    set_defaults(*m);
    return settings::fromText(text, *m).ok();
}

// The most bytes a file of this kind in the data folder is read with; a
// larger one is damaged (kept whole, never read).
std::uint64_t file_limit(const DiskFile& f) {
    return f.recLen ? records::fileLimit(f.recLen, f.maxRecords) : settings::kMaxFileBytes;
}

// A data file the disk must restore: one its reader cannot use. A record
// file is used record by record, so it needs restoring only when it holds
// no whole record (missing, unreadable, empty or shorter than one record);
// bytes after its last whole record are simply not read. A settings file
// needs restoring when it is not read in full.
bool needs_restoring(const DiskFile& f, const std::string& path) {
    if (f.recLen == 0) {
        std::string text;
        return !rec::readFile(path, text, settings::kMaxFileBytes) || !settings_read_in_full(text);
    }
    if (f.recLen == records::kCityLen) return records::readCityFile(path).empty();
    if (f.recLen == records::kPumpLen) return records::readPumpFile(path).empty();
    CompetitorPump r;
    return !records::readCompetitorFile(path, r);
}

// Reads a file of the data disk into `bytes` when it can replace the
// program's file as it stands: a regular file no longer than its table
// holds, of whole records only, at least one; a settings file read in full.
// Anything else is refused before a byte of it is used (a file of 1.5 GB is
// not even read), with the reason in `why`.
bool read_disk_file(const DiskFile& f, const std::string& src, std::string& bytes, std::string& why) {
    const std::uint64_t limit = f.recLen ? f.recLen * f.maxRecords : settings::kMaxFileBytes;
    std::error_code ec;
    if (!fs::is_regular_file(src, ec)) {
        why = "not a file";
        return false;
    }
    const std::uintmax_t size = fs::file_size(src, ec);
    const std::string kind = std::string(" ") + f.kind;
    if (!ec && size > limit) {
        why = std::to_string(size) + " bytes, too large for a" + kind + " (at most " + std::to_string(limit) + ")";
        return false;
    }
    if (!rec::readFile(src, bytes, limit)) {
        why = "cannot be read";
        return false;
    }
    if (f.recLen != 0 && (bytes.empty() || bytes.size() % f.recLen != 0)) {
        why = std::to_string(bytes.size()) + " bytes, not a whole" + kind + " (records of " + std::to_string(f.recLen) +
              " bytes)";
        return false;
    }
    if (f.recLen == 0 && !settings_read_in_full(bytes)) {
        why = "not a whole" + kind;
        return false;
    }
    return true;
}

}  // namespace

// ---- input helpers ---------------------------------------------------------------

void remove_comma(const std::string& text, std::string& result) { result = remove_comma(text); }

std::string remove_comma(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ',' && c != '$' && c != '%') out += c;
    return out;
}

void numbers_only() {
    if (g.sound_off == 1) return;
    ui::WarningSound(g.sound_wait == 1);
    ui::MsgBox("Numbers only", ui::vbOKOnly, "Please");
}

void to_deg_c(float& result, float x) {
    if (g.units_temp == 0) {
        result = x;
        return;
    }
    result = static_cast<float>(vb::Int((x - 32) / 1.8 * 10 + 0.5) / 10);
}

float from_deg_c(float x) {
    if (g.units_temp == 0) return x;
    return static_cast<float>(x * 1.8 + 32);
}

void strip_spaces(const std::string& source, std::string& result) {
    std::string up = vb::UCase(source);
    std::string out;
    out.reserve(up.size());
    for (char c : up)
        if (c != ' ') out += c;
    result = std::move(out);
}

// ---- files -----------------------------------------------------------------------

void clear_file_attrs() {
    static const char* const files[] = {"defaulte.dat", "location.dat", "locatio2.dat", "PumpHP.dat",
                                        "PumpHP1.dat",  "PumpHP2.dat",  "PumpHP3.dat",  "Pumpchk.dat"};
    for (const char* f : files) {
        std::error_code ec;  // a missing file or a refusal is ignored
        fs::permissions(g.data_dir + f, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    }
}

void load_data_disk() {
    clear_file_attrs();
    for (const char* drive : {"A", "B"}) {
        const fs::path dir = g.data_dir + drive + "/";
        std::vector<std::pair<std::string, const DiskFile*>> found;  // source on the disk, file
        for (const DiskFile& f : kDiskFiles) {
            std::string src = find_no_case(dir, f.onDisk);
            if (!src.empty()) found.emplace_back(src, &f);
        }
        if (found.empty()) continue;  // no disk in this drive: try the next

        // Only a file that is missing or damaged is taken from the disk, so
        // that the dealer's own cities, settings and heat-pump tables stay,
        // and only a disk file that is whole. The file it replaces is kept
        // beside it (.bak, older copies .bak1 ...); each copy goes through a
        // complete temporary file, so a failed copy leaves the program's own
        // file as it was, and only a copy that succeeded is said restored.
        std::vector<std::string> failed, restored;
        for (const auto& [src, f] : found) {
            const std::string dst = g.data_dir + f->inFolder;
            if (!needs_restoring(*f, dst)) continue;
            std::error_code ec;
            const bool had = fs::exists(fs::symlink_status(dst, ec));
            std::string bytes, why;
            if (read_disk_file(*f, src, bytes, why)) {
                const auto restore = [&](std::string* w) { return rec::replaceFile(dst, bytes, w); };
                const rec::KeepResult done = rec::keepCopy(dst, file_limit(*f), restore, &why);
                if (done == rec::KeepResult::Kept)
                    restored.push_back(
                        std::string(f->inFolder) +
                        (had ? " (the damaged file kept as " + fs::path(rec::keptName(dst)).filename().string() + ")"
                             : " (it was missing)"));
                else if (done == rec::KeepResult::NotKept) why = "the damaged file could not be kept: " + why;
            }
            if (!why.empty()) failed.push_back(fs::path(src).filename().string() + ": " + why);
        }
        clear_file_attrs();
        if (!restored.empty()) {
            restored.insert(restored.begin(), "Restored from the data disk in " + dir.string() + ":");
            ui::MsgBox(join_lines(restored), ui::vbOKOnly | ui::vbInformation, "Load your data disk");
        }
        if (!failed.empty()) {
            failed.insert(failed.begin(), "These files could not be copied from the data disk:");
            report_error("load_data_disk", 57, join_lines(failed));
        }
        return;
    }
    clear_file_attrs();
    ui::MsgBox("The data disk was not found." + g.crlf + "Put the data files into the folder" + g.crlf + g.data_dir +
                   "A/ or " + g.data_dir + "B/",
               ui::vbOKOnly | ui::vbExclamation, "Load your data disk");
}

void load_brand_pumps() {
    try {
        const std::string path = g.data_dir + kPumpFile;
        records::FileInfo info;
        auto recs = records::readPumpFile(path, &info);
        if (recs.empty()) {
            ui::MsgBox("Bad heat pump data file", ui::vbOKOnly, "Update file");
            load_data_disk();
            recs = records::readPumpFile(path, &info);  // once more, with what the disk brought
            if (recs.empty()) {
                g.pump_count = 0;
                return;
            }
        }
        tell_oversize(path, info, "heat pump data file", records::kMaxPumps);

        const int n = static_cast<int>(recs.size());
        for (int k = 1; k <= static_cast<int>(records::kMaxPumps); ++k) {
            g.pump_tab[k] = k <= n ? std::move(recs[k - 1]) : PumpBrand{};
            g.pump_tab[k].brand = vb::Trim(g.pump_tab[k].brand);
        }
        g.pump_count = static_cast<i16>(n);
        // The chosen brand's group stays the one in use even when the file
        // is too short to hold it: its blank record is then reported by the
        // brand check, rather than another brand's data being used quietly.
        if (g.pump_rec < 1 || g.pump_rec > static_cast<int>(records::kMaxPumps)) g.pump_rec = 1;

        // The group's first 24 points, then the chosen model again in points
        // 1..8 and its series on offer: a reload never changes a result.
        copy_points(g.pump_tab[g.pump_rec], 1, 24);
        use_chosen_model(g);
        g.pump_saved = 0;
    } catch (const std::exception& e) {
        report_error("load_brand_pumps", 5, e.what());
    }
}

void load_locations() {
    try {
        const std::string path = g.data_dir + kCityFile;
        records::FileInfo info;
        auto recs = records::readCityFile(path, &info);
        // A missing file simply holds no cities; one that is there but
        // cannot be read is a fault, and the cities loaded so far are kept.
        std::error_code ec;
        if (!info.found && fs::exists(path, ec)) throw ui::RtError(75, "Cannot read " + path);
        tell_oversize(path, info, "weather data file", records::kMaxCities);

        const int n = static_cast<int>(recs.size());
        for (int i = 1; i <= static_cast<int>(records::kMaxCities); ++i) {
            g.city_tab[i] = i <= n ? std::move(recs[i - 1]) : CityRecord{};
            g.city_tab[i].city = vb::Trim(g.city_tab[i].city);
            g.city_tab[i].state = vb::Trim(g.city_tab[i].state);
        }
        g.city_count = static_cast<i16>(n);
    } catch (const ui::RtError& e) {
        report_error("load_locations", e.number, e.description());
        return;
    } catch (const std::exception& e) {
        report_error("load_locations", 5, e.what());
        return;
    }
    if (windows().fill_city_lists) windows().fill_city_lists();
}

void check_cities() {
    if (g.city_count > 0) return;
    const std::string path = g.data_dir + kCityFile;
    std::error_code ec;
    const std::string kept = rec::keptName(path);
    const bool wasKept = fs::exists(kept, ec);
    const std::string text =
        "The weather-city file " + path + (fs::exists(path, ec) ? " holds no cities." : " is missing.") + g.crlf +
        "The project's city lists stay empty until cities are loaded:" + g.crlf +
        "- from your data disk: put its files into the folder " + g.data_dir + "A/ (or B/) and choose Yes," + g.crlf +
        "- or with \"Copy Excel Data\" on the main window, from the workbook hpcities.xls." + g.crlf +
        (wasKept ? "The cities deleted or replaced last are kept as " + kept + "." + g.crlf +
                       "To get them back, close the program, rename " + fs::path(kept).filename().string() + " to " +
                       kCityFile + " in " + g.data_dir + " and start it again." + g.crlf
                 : std::string()) +
        g.crlf + "Load the cities from the data disk now?";
    // No by default, as every question that replaces the dealer's files.
    if (ui::MsgBox(text, ui::vbYesNo | ui::vbDefaultButton2 | ui::vbExclamation, "Weather data") != ui::vbYes) return;
    load_data_disk();
    load_locations();
    if (g.city_count > 0) return;
    ui::MsgBox("The data disk brought no weather cities." + g.crlf +
                   "Use \"Copy Excel Data\" on the main window to import them from hpcities.xls.",
               ui::vbOKOnly | ui::vbExclamation, "Weather data");
}

void read_pumpa(const std::string& brand, const std::string& model) {
    std::string b = vb::Trim(brand);
    if (b.empty()) b = kDefaultBrand;
    std::string n = vb::Trim(model);
    if (n.empty()) n = kDefaultModel;
    g.brand_name = b;
    g.model_name = n;

    const std::string path = g.data_dir + kPumpFile;
    auto recs = records::readPumpFile(path);
    if (recs.empty()) {
        ui::MsgBox("Bad heat pump data file\rLooking in " + g.data_dir + " directory.", ui::vbOKOnly, "Update file");
        load_data_disk();
        recs = records::readPumpFile(path);
    }

    // The group whose name matches, letter case and blanks aside; the
    // records up to it are taken into pump_tab.
    const std::string brandKey = no_blanks_upper(b);
    int match = 0;
    for (int k = 1; k <= static_cast<int>(recs.size()); ++k) {
        g.pump_tab[k] = std::move(recs[k - 1]);
        g.pump_tab[k].brand = vb::Trim(g.pump_tab[k].brand);
        if (no_blanks_upper(g.pump_tab[k].brand) == brandKey) {
            match = k;
            break;
        }
    }
    if (match == 0) {
        g.pump_rec = static_cast<i16>(recs.empty() ? 1 : recs.size());
        ui::MsgBox("Brand name " + b + " was not found", ui::vbOKOnly, "Error");
        return;
    }
    g.pump_rec = static_cast<i16>(match);

    // The first offered model of that name, letter case and blanks aside:
    // all its group's points, then its own eight points as points 1..8 and
    // its series as the models on offer. No such model: tables unchanged.
    if (!chosen_model(g).found) return;
    copy_points(g.pump_tab[match], 1, 72);
    use_chosen_model(g);
}

void reset_run_totals() {
    for (int i = 1; i <= 5; ++i) {
        g.heater_yr_cost[i] = 0;
        g.heater_energy[i] = 0;
        g.heater_cum_cy[i] = Currency{};
    }
    g.need_total = 0;
    g.cop_sum = 0;
    for (int m = 1; m <= 12; ++m) {
        g.temp_table[m][5] = g.temp_table[m][6];
        g.hrs_flag[m] = 0;
    }
}

bool read_compet(int k) {
    reset_run_totals();  // the engine's totals start afresh for the competitor's run
    if (k < 1 || k > 3) return false;

    CompetitorPump& dest = k == 1 ? g.comp1_rec[1] : k == 2 ? g.comp2_rec[1] : g.comp3_rec[1];
    const std::string path = g.data_dir + "PumpHP" + std::to_string(k) + ".dat";
    CompetitorPump r;
    // A missing or empty file is said and the competitor left out: the file
    // is not created, and the data disk is not reloaded in the middle of a
    // printout (it would replace every data file the dealer has edited).
    if (!records::readCompetitorFile(path, r)) {
        ui::MsgBox("Bad competitor #" + std::to_string(k) + " heat pump data file", ui::vbOKOnly, "Update file");
        return false;
    }
    dest = r;
    if (k == 1) verify_compet1();
    if (k == 2) verify_compet2();
    if (k == 3) verify_compet3();

    for (int p = 1; p <= 24; ++p) {
        g.hp_rh[p] = r.rh[p];
        g.hp_cop[p] = r.cop[p];
        g.hp_btu[p] = r.btu[p];
        g.hp_wtemp[p] = r.water_temp[p];
    }
    if (g.brand_code >= 0 && g.brand_code <= 7 && g.series_sel >= 0 && g.series_sel <= 6)
        for (int c = 1; c <= 3; ++c) g.comp_models[g.brand_code][g.series_sel][c] = vb::FixLen(r.model[c], 25);
    return true;
}

void verify_compet1() { verify_compet(g.comp1_rec[1]); }
void verify_compet2() { verify_compet(g.comp2_rec[1]); }
void verify_compet3() { verify_compet(g.comp3_rec[1]); }

void verify_brand() {
    try {
        const int rec = std::clamp<int>(g.pump_rec, 1, static_cast<int>(records::kMaxPumps));
        const PumpBrand& r = g.pump_tab[rec];
        std::vector<std::string> items;
        if (vb::Trim(r.brand).empty()) items.push_back("Brand name");
        bool anyListed = false, blankListed = false;
        for (int k = 1; k <= 9; ++k) {
            if (r.in_list[k] != 1) continue;
            anyListed = true;
            if (vb::Trim(r.model[k]).empty()) blankListed = true;
        }
        if (!anyListed || blankListed) items.push_back("Model designation");
        missing_tables(r, 72, items);
        if (items.empty()) return;
        items.insert(items.begin(), "The following data is missing:");
        items.push_back("THE PROGRAM MAY FAIL");
        ui::MsgBox(join_lines(items), ui::vbOKOnly, "Incomplete Heat Pump data");
    } catch (const std::exception& e) {
        report_error("verify pump", 5, e.what());
    }
}

void default_brand_labels() {
    // Three labels of the routine's own; they name a brand group that has no
    // name yet. Nothing outside the routine uses them.
    std::string labels[3];
    for (int i = 0; i < 3; ++i)
        if (labels[i].empty()) labels[i] = "Brand " + std::to_string(i + 1);
}

std::string brand_caption() {
    const int code = g.brand_code == 0 ? 1 : g.brand_code;
    std::string title;
    if (code >= 1 && code <= 3) title = vb::Left(vb::Trim(g.pump_tab[code].brand), 18);
    const long pad = (18 - static_cast<long>(vb::Len(title))) / 2;
    const std::string caption = vb::FixLen(vb::Space(pad) + title, 18);
    for (int i = 1; i <= 18; ++i) g.disp_str[i] = vb::Mid(caption, i, 1);
    return caption;
}

void model_list_text(std::vector<std::string>& brand_words, std::string& phrase, std::string& brand,
                     std::string& model_c, std::string& model_b, std::string& model_a, std::string& note) {
    brand_words.assign(6, std::string());
    brand_words[1] = g.model_txt3 + " and ";
    // Entry 2 names the model whose units combo_n1 counts: the chosen one.
    brand_words[2] = chosen_model_text(g) + " ";
    brand_words[3] = g.model_txt2;
    brand_words[4] = g.model_txt1;
    brand = windows().brand_box_text ? vb::Trim(windows().brand_box_text()) : std::string();
    model_c = vb::Trim(g.model_txt3);
    model_b = vb::Trim(g.model_txt2);
    model_a = vb::Trim(g.model_txt1);
    phrase = " Model " + g.model_txt2;
    note.clear();
}

int city_entry(const CityRecord& r, std::string& entry) {
    const std::string state = vb::Trim(r.state);
    const std::string city = vb::Trim(r.city);
    if (vb::UCase(state) == "FL") {
        entry = city;
        return 0;
    }
    if (vb::Len(state) < 3) {
        entry = vb::FixLen(state, 2) + "  " + city;
        return 1;
    }
    entry = vb::FixLen(state, 8) + "  " + city;
    return 2;
}

void unload_settings() {
    if (windows().unload_settings) windows().unload_settings();
}
