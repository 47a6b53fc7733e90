// The settings file defaulte.dat: every value survives Dfltout + Dfltinp,
// damaged files keep the defaults of what they lack, a missing file comes
// from the data disk or is created, and a failed write keeps the old file.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "app/settings.h"
#include "core/ui.h"
#include "tests/support/data_test.h"
#include "tests/support/settings_files.h"

using namespace testsupport;
using DataDirTest = DataTest;
namespace fs = std::filesystem;

namespace {

using settings::Field;
using settings::Ref;

// A value for every field of the file that no default has, within the
// field's range: `salt` makes a second, different set.
void setAll(DataModel& m, int salt) {
    DataModel defaults;
    set_defaults(defaults);
    int i = 0;
    for (const Field& f : settings::fields()) {
        ++i;
        Ref r = f.at(m);
        const int k = i + 1000 * salt;
        const bool ranged = std::isfinite(f.lo) && std::isfinite(f.hi);
        // A whole number within the range other than the default.
        auto pick = [&](double dflt) {
            const long span = static_cast<long>(f.hi - f.lo) + 1;
            double v = f.lo + k % span;
            if (v == dflt) v = f.lo + (k + 1) % span;
            return v;
        };
        Ref d = f.at(defaults);
        if (auto p = std::get_if<i16*>(&r))
            **p = static_cast<i16>(ranged ? pick(*std::get<i16*>(d)) : std::isfinite(f.lo) ? 300 + k : -300 - k);
        // Beyond one bound only: that far away from it, inwards.
        const double away = std::isfinite(f.lo)   ? f.lo + 1000.0 / 3 + k
                            : std::isfinite(f.hi) ? f.hi - 1000.0 / 3 - k
                                                  : 1000.0 / 3 + k;
        if (auto p = std::get_if<float*>(&r))
            **p = static_cast<float>(ranged ? f.lo + (f.hi - f.lo) * ((k % 89) + 1) / 97.0 : away);
        if (auto p = std::get_if<double*>(&r)) **p = ranged ? f.lo + (f.hi - f.lo) * ((k % 89) + 1) / 97.0 : away * 1e3;
        if (auto p = std::get_if<Currency*>(&r))
            **p = Currency::raw((std::isfinite(f.lo) ? 1 : -1) * (k * 10007LL + 1));
        if (auto p = std::get_if<std::string*>(&r)) **p = " \u00e9t\u00e9 " + std::to_string(k) + " ";
    }
}

std::unique_ptr<DataModel> model(int salt = -1) {
    auto m = std::make_unique<DataModel>();
    set_defaults(*m);
    if (salt >= 0) setAll(*m, salt);
    return m;
}

// Expects g to hold the values of `first` for fields [0, n) and those of
// `rest` for the others.
void expectFields(const DataModel& first, std::size_t n, const DataModel& rest) {
    const auto& table = settings::fields();
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_TRUE(sameValue(table[i], g, i < n ? first : rest)) << table[i].name;
}

std::size_t fieldIndex(const std::string& name) {
    const auto& table = settings::fields();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].name == name) return i;
    ADD_FAILURE() << name << " not in the settings file";
    return 0;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t pos = 0, end; pos < text.size(); pos = end + 1)
        out.push_back(text.substr(pos, (end = text.find('\n', pos)) - pos));
    return out;
}

std::string join(const std::vector<std::string>& ls, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n && i < ls.size(); ++i) out += ls[i] + "\n";
    return out;
}

}  // namespace

TEST(SettingsTable, HoldsEverySettingAndTheLastProjectOnce) {
    std::set<std::string> names;
    for (const Field& f : settings::fields()) EXPECT_TRUE(names.insert(f.name).second) << "twice: " << f.name;

    const char* expected[] = {
        "company_name", "no_prices", "company_var", "brand_code", "series_sel", "dealer_lock(1)", "dealer_lock(2)",
        "compet_check", "units_len", "units_vol", "units_sun", "units_heat", "units_temp", "fuel_units(1)",
        "fuel_units(3)", "area_sel", "year_factor", "summer_factor_out", "summer_factor_in", "size_comp(1)",
        "size_comp(8)", "sel_buffer(1)", "sel_buffer(3)", "reduce_pct", "cover_quality", "allow_lowtemp",
        "off_buffer(3)", "hp_btu_factor(1)", "hp_btu_factor(8)", "hp_cop_factor(8)", "comp_factors_on", "small_title",
        "round_up", "name_pad", "fnt_body_name", "fnt_body_size", "fnt_body_bold", "fnt_body_x", "fnt_title_name",
        "fnt_title_bold", "fnt_title_size", "fnt_title_x", "model_price_tab(0)", "model_price_tab(11)", "fin_opts(1)",
        "fin_opts(20)", "lease_fact(1,1)", "lease_fact(6,4)", "fees_loan", "sales_tax",
        // the last project
        "brand_name", "model_name", "city_name", "sel_state", "area_group", "pool_type", "pool_site", "pool_area",
        "pool_depth", "wind_mph", "sun_pct", "desired_temp", "temp_table(1,6)", "temp_table(12,6)",
        "month_hours_c(1,0)", "month_hours_c(12,0)", "month_hours_c(1,1)", "month_hours_c(12,1)", "run_state(1,0)",
        "run_state(12,0)", "heat_days", "heat_hours", "spa_blower", "fuel_type", "backup_on", "heater_eff",
        "heater_btu", "heater_cost", "rate_elec", "rate_natgas", "rate_propane", "rate_oil", "opt_reduce",
        "month_city_a(1)", "month_city_b(12)", "month_city_c(12)", "model_price(1)", "model_price(3)"};
    for (const char* n : expected) EXPECT_TRUE(names.count(n)) << n;
    // Settings first, the last project after them.
    EXPECT_LT(fieldIndex("sales_tax"), fieldIndex("brand_name"));
    for (const char* n : {"fin_mode", "cust_street", "cust_city", "pump_rec", "fin_opts(0)"})
        EXPECT_FALSE(names.count(n)) << n;
}

TEST_F(DataDirTest, EverySettingSurvivesWriteAndRead) {
    setAll(g, 1);
    g.data_dir = dir_;
    g.price_rise[1] = 0.05f;
    g.loan_rate = 7.5f;
    g.cust_name = "Customer";
    auto before = std::make_unique<DataModel>(g);
    ui::Script script;
    Dfltout();
    const std::string text = read("defaulte.dat");
    for (const char* absent : {"price_rise", "cust_name"}) EXPECT_EQ(text.find(absent), std::string::npos);

    auto defaults = model();
    const auto& table = settings::fields();
    for (const Field& f : table) EXPECT_FALSE(sameValue(f, *before, *defaults)) << "not exercised: " << f.name;

    set_defaults(g);
    g.data_dir = dir_;
    Dfltinp();
    EXPECT_TRUE(script.shown().empty());
    expectFields(*before, table.size(), *before);
}

TEST_F(DataDirTest, SettingsAreWrittenInTheCLocaleWithFourDecimalMoney) {
    g.brand_code = 0;  // read as brand 1
    g.company_name = "An \u00e9tablissement with a very long company name";
    g.pool_area = 0.1f;
    g.heater_btu = 1e20;
    g.fees_loan = Currency::raw(5);
    g.sales_tax = 6.25f;
    g.wind_mph = std::numeric_limits<float>::quiet_NaN();  // never written as a value the reader refuses
    g.city_name = "Two\nlines\rhere";                      // a line break would split the line
    ui::Script script;
    Dfltout();
    const std::string text = read("defaulte.dat");
    EXPECT_NE(text.find("\nwind_mph=0\n"), std::string::npos);
    EXPECT_NE(text.find("\ncity_name=Two lines here\n"), std::string::npos);
    EXPECT_NE(text.find("company_name=An \u00e9tablissement with a very long \n"), std::string::npos);
    EXPECT_NE(text.find("\npool_area=0.1\n"), std::string::npos);
    EXPECT_NE(text.find("\nheater_btu=1e+20\n"), std::string::npos);
    EXPECT_NE(text.find("\nfees_loan=0.0005\n"), std::string::npos);
    EXPECT_NE(text.find("\nsales_tax=6.25\n"), std::string::npos);
    EXPECT_NE(text.find("\ntemp_table(3,6)=82\n"), std::string::npos);

    g.pump_rec = 50;
    Dfltinp();
    EXPECT_EQ(g.company_name, "An \u00e9tablissement with a very long ");
    EXPECT_EQ(g.company_name.size(), 35u);  // 34 characters, one of them two bytes
    EXPECT_EQ(g.city_name, "Two lines here");
    EXPECT_EQ(g.pump_rec, 1);  // the brand group in use is the brand's
    g.brand_code = 3;
    Dfltout();
    Dfltinp();
    EXPECT_EQ(g.pump_rec, 3);
    // A name edited by hand past its 34 characters is cut on reading.
    auto ls = lines(read("defaulte.dat"));
    ls[fieldIndex("company_name")] = "company_name=" + std::string(40, 'x');
    write("defaulte.dat", join(ls, ls.size()));
    Dfltinp();
    EXPECT_EQ(g.company_name, std::string(34, 'x'));
    EXPECT_TRUE(script.shown().empty());
}

// A file saved with Windows line ends or a byte-order mark reads as written;
// so does the largest amount a currency holds.
TEST(SettingsText, WindowsLineEndsAByteOrderMarkAndTheLargestAmountRead) {
    auto file = model(1);
    file->fees_loan = Currency::raw(std::numeric_limits<std::int64_t>::max());
    const std::string text = settings::toText(*file);
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& variant : {crlf, "\xEF\xBB\xBF" + text, "\xEF\xBB\xBF" + crlf}) {
        auto m = model();
        EXPECT_TRUE(settings::fromText(variant, *m).ok());
        for (const Field& f : settings::fields()) EXPECT_TRUE(sameValue(f, *m, *file)) << f.name;
    }
}

// Lines added at the end of the table: the files written before them lack
// them and read whole with the defaults, as do the dealer's files without a
// version line (the loan rate missing or not); a file that says (by its
// version) or shows (by a newer line) that it had more, and ends before
// them, was cut short, as is one without a line of its version. All of it
// holds for the table as it is and for the table one version on (a line
// added as docs/architecture.md adds one, before the last project).
TEST(SettingsText, AFileHoldsTheLinesOfItsVersion) {
    const auto ref = [](float DataModel::*member) { return [member](DataModel& m) { return Ref(&(m.*member)); }; };
    const auto ref_at = [](int i) { return [i](DataModel& m) { return Ref(&m.price_rise[i]); }; };
    const auto up_to = [](const std::string& text, const std::string& name) {
        return text.substr(0, text.find("\n" + name + "=") + 1);
    };
    const auto without = [](std::string text, const std::string& name) {
        const std::size_t at = text.find("\n" + name + "=") + 1;
        return text.erase(at, text.find('\n', at) + 1 - at);
    };
    std::vector<Field> first;  // the lines of version 1: the dealer's files without a version line
    int current = settings::kUnmarkedVersion;
    for (const Field& f : settings::fields()) {
        if (f.since <= settings::kUnmarkedVersion) first.push_back(f);
        current = std::max(current, f.since);
    }
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on ? "one version on" : "the table as it is");
        const int version = current + (on ? 1 : 0);
        std::vector<Field> table = settings::fields();
        if (on)
            table.insert(table.begin() + static_cast<std::ptrdiff_t>(fieldIndex("brand_name")),
                         Field{"next_version_line", ref(&DataModel::down_perc), 0, 0, 100, version});
        std::vector<Field> grown = table;  // the table two lines on
        for (int i : {1, 2})
            grown.push_back({"price_rise(" + std::to_string(i) + ")", ref_at(i), 0, 0, 1, version + 1});
        const std::string newest =
            std::find_if(table.rbegin(), table.rend(), [&](const Field& f) { return f.since == version; })->name;
        auto file = model(1);
        file->price_rise[1] = 0.05f;
        file->down_perc = 7.5f;
        const std::string today = settings::toText(*file, table), next = settings::toText(*file, grown);
        ASSERT_EQ(today.substr(today.rfind('\n', today.size() - 2)),
                  "\nfile_version=" + std::to_string(version) + "\n");
        const std::string unmarked = up_to(settings::toText(*file, first), "file_version"),
                          no_rate = without(unmarked, "loan_rate");
        const struct {
            const char* what;
            std::string text;
            bool complete;
        } cases[] = {
            {"today's file", today, true},
            {"without a version line", unmarked, true},
            {"without a version line and the loan rate", no_rate, true},
            {"the grown table's file", next, true},
            {"cut after a newer line", up_to(next, "price_rise(2)"), false},
            {"cut before a line of its version", up_to(today, "model_price(3)"), false},
            {"without the newest line of its version", without(today, newest), false},
            {"a version on without its lines",
             up_to(next, "price_rise(1)") + "file_version=" + std::to_string(version + 1) + "\n", false},
        };
        for (const auto& c : cases) {
            auto m = model();
            EXPECT_EQ(settings::fromText(c.text, *m, grown).complete, c.complete) << c.what;
            if (!c.complete) continue;
            // What the file holds is read, what it lacks keeps its default.
            const bool unmarked_file = c.text == unmarked || c.text == no_rate;
            EXPECT_EQ(m->price_rise[1], c.text == next ? 0.05f : 0.0f) << c.what;
            EXPECT_EQ(m->loan_rate, c.text == no_rate ? 0.0f : file->loan_rate) << c.what;
            EXPECT_EQ(m->down_perc, on && !unmarked_file ? 7.5f : model()->down_perc) << c.what;
            EXPECT_EQ(m->model_price[3], file->model_price[3]) << c.what;
        }
    }
}

// A value that does not parse or is out of range: that one setting at its
// default, every other from the file. A line missing or out of order, a
// short or garbage file: the lines before it from the file, every later one
// at its default (a missing line added later: that one alone). Either way
// the message, once, whatever the model held.
TEST_F(DataDirTest, ADamagedFileKeepsTheDefaultsOfWhatItLacks) {
    struct Case {
        const char* field;  // the field not taken from the file ("" none at all)
        std::string
            line;   // its line; "" swaps it with the next one, "cut" ends the file inside it, "drop" leaves it out
        bool rest;  // the later fields at their defaults too
    };
    const Case cases[] = {
        {"units_vol", "units_vol=abc", false},
        {"pool_area", "pool_area=abc", false},
        {"brand_code", "brand_code=70000", false},  // beyond a 16-bit integer
        {"heater_btu", "heater_btu=1e999", false},  // beyond a double
        {"rate_oil", "rate_oil=3.12345", false},    // more than four decimals
        {"wind_mph", "wind_mph=nan", false},
        {"heater_btu", "heater_btu=inf", false},  // no limit above, but no number either
        {"pool_area", "pool_area=12abc", false},  // a number and more
        {"desired_temp", "desired_temp=39", false},
        {"fuel_type", "fuel_type=9", false},  // out of range
        {"heat_days", "heat_days=0", false},
        {"pool_area", "pool_area=-5", false},
        {"temp_table(7,6)", "temp_table(7,6)=105", false},
        // one past the largest currency, each way (an amount with no range of its own)
        {"model_price_tab(3)", "model_price_tab(3)=922337203685477.5808", false},
        {"model_price_tab(3)", "model_price_tab(3)=-922337203685477.5809", false},
        {"fees_loan", "fees_loan=-1", false},  // no negative loan fees
        {"pool_depth", "pool_depth", true},    // no "="
        {"sun_pct", "", true},                 // out of order
        {"reduce_pct", "cut", true},           // a short file
        // a line of the file's version missing: the first, one of every
        // version, one added later, the last
        {"company_name", "drop", true},
        {"brand_name", "drop", true},
        {"loan_rate", "drop", false},
        {"model_price(3)", "drop", false},
        {"", "garbage", true},
    };
    auto file = model(1);
    auto defaults = model();
    const auto& table = settings::fields();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        auto ls = lines(settings::toText(*file));
        const std::size_t at = *c.field ? fieldIndex(c.field) : 0;
        std::string text;
        if (c.line == "garbage") {
            for (int i = 0; i < 5000; ++i) text += static_cast<char>((i * 7919) % 256);
        } else if (c.line == "cut") {
            text = join(ls, at) + ls[at].substr(0, 5);
        } else {
            if (c.line.empty()) std::swap(ls[at], ls[at + 1]);
            else if (c.line == "drop") ls.erase(ls.begin() + static_cast<std::ptrdiff_t>(at));
            else ls[at] = c.line;
            text = join(ls, ls.size());
        }
        write("defaulte.dat", text);
        setAll(g, 2);
        g.data_dir = dir_;
        ui::Script script;
        script.answer(ui::vbOK);
        Dfltinp();
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].text, "Missing data in the default settings file,");
        EXPECT_EQ(script.shown()[0].title, "Load your data disk");
        for (std::size_t i = 0; i < table.size(); ++i) {
            const bool from_file = i < at || (i > at && !c.rest);
            EXPECT_TRUE(sameValue(table[i], g, from_file ? *file : *defaults)) << table[i].name;
        }
    }
}

// A settings file that could not be read in full (a value refused, or too
// large to be read at all) is kept as defaulte.bad before it is
// overwritten, an older one moving on to defaulte.bad1, and the dealer is
// told; a file read in full is not; one that cannot be kept is not
// overwritten, and that is said.
TEST_F(DataDirTest, AnUnreadFileIsKeptBeforeItIsOverwritten) {
    auto ls = lines(settings::toText(*model(1)));
    ls[fieldIndex("units_vol")] = "units_vol=abc";
    const std::string damaged = join(ls, ls.size());
    const std::string huge(settings::kMaxFileBytes + 1, 'x');
    for (const std::string* unread : {&damaged, &huge}) {
        SCOPED_TRACE(unread->size());
        write("defaulte.dat", *unread);
        ui::Script script;
        script.answer(ui::vbOK).answer(ui::vbOK);
        Dfltinp();  // "Missing data ...", or "Error in Dfltinp" for the file too large
        Dfltout();
        ASSERT_EQ(script.shown().size(), 2u);
        EXPECT_EQ(script.shown()[1].title, "Load your data disk");
        EXPECT_NE(script.shown()[1].text.find(path("defaulte.bad")), std::string::npos);
        EXPECT_EQ(read("defaulte.bad"), *unread);
        EXPECT_EQ(read("defaulte.dat"), settings::toText(g));
    }
    EXPECT_EQ(read("defaulte.bad1"), damaged);  // the second unread file took no copy's place

    // Once kept, and never for a file read in full.
    fs::remove(path("defaulte.bad"));
    ui::Script script;
    Dfltout();
    Dfltinp();
    Dfltout();
    EXPECT_TRUE(script.shown().empty());
    EXPECT_FALSE(exists("defaulte.bad"));

    // No copy can be made (the oldest copy's place is taken by a folder
    // that cannot move on over a file): the unread file stays.
    write("defaulte.dat", damaged);
    write("defaulte.bad3/in the way", "x");
    write("defaulte.bad4", "x");
    script.answer(ui::vbOK).answer(ui::vbOK);
    Dfltinp();
    Dfltout();
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].title, "Error in Dfltout");
    EXPECT_NE(script.shown()[1].text.find("It has not been overwritten."), std::string::npos);
    EXPECT_EQ(read("defaulte.dat"), damaged);

    // The unread file gone by the time of the save: nothing to keep, and
    // nothing said kept.
    fs::remove(path("defaulte.dat"));
    Dfltout();
    EXPECT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(read("defaulte.dat"), settings::toText(g));
}

// A missing file comes from disk A, else disk B (an empty drive A counts
// as no disk); missing everywhere, the defaults are used and written after
// one try.
TEST_F(DataDirTest, AMissingFileComesFromTheDataDiskOrIsCreated) {
    for (const char* drive : {"A", "B", ""}) {
        SCOPED_TRACE(drive);
        fs::remove(path("defaulte.dat"));
        fs::remove_all(path("A"));
        fs::remove_all(path("B"));
        fs::create_directories(path("A"));
        auto disk = model();
        disk->data_dir = dir_;
        if (*drive) {
            disk->company_name = std::string("From disk ") + drive;
            write(std::string(drive) + "/DEFAULTS.DAT", settings::toText(*disk));  // letter case as on a diskette
        }
        setAll(g, 2);
        g.data_dir = dir_;

        ui::Script script;
        script.answer(ui::vbOK).answer(ui::vbOK);
        Dfltinp();
        ASSERT_EQ(script.shown().size(), 2u);  // then what the disk restored, or that there is none
        EXPECT_EQ(script.shown()[0].text, "File not found, insert the data");
        EXPECT_EQ(script.shown()[0].title, "Upload data files");
        EXPECT_EQ(script.shown()[1].title, "Load your data disk");
        expectFields(*disk, 0, *disk);
        EXPECT_EQ(read("defaulte.dat"), settings::toText(*disk));
    }
}

TEST_F(DataDirTest, AnUnreadableFileIsReportedAndChangesNothing) {
    fs::create_directories(path("defaulte.dat"));  // a folder where the file should be
    g.company_name = "Kept";
    ui::Script script;
    script.answer(ui::vbOK);
    Dfltinp();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Error in Dfltinp");
    EXPECT_EQ(g.company_name, "Kept");
}

TEST_F(DataDirTest, AFailedWriteKeepsTheOldFileAndTheModel) {
    g.company_name = "Old";
    {
        ui::Script quiet;
        Dfltout();
    }
    const std::string old = read("defaulte.dat");
    g.company_name = "New";
    const std::string modelText = settings::toText(g);

    // The temporary copy cannot grow beyond 64 bytes: the write fails half-way.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbOK);
    Dfltout();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    // And a folder that is not there.
    g.data_dir = dir_ + "nowhere/";
    Dfltout();
    g.data_dir = dir_;

    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].title, "Error in Dfltout");
    EXPECT_EQ(script.shown()[1].title, "Error in Dfltout");
    EXPECT_EQ(read("defaulte.dat"), old);
    EXPECT_EQ(files(), std::vector<std::string>{"defaulte.dat"});
    EXPECT_EQ(settings::toText(g), modelText);
}
