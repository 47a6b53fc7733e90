// The window registry: the one way code reaches a window of another folder,
// and the one way lower layers (data files, engine, printouts) reach up to a
// window.
// Each windows library fills its entries in its register_X_windows(), which
// main() (and the tests that need those windows) call once at start; an
// empty entry means that window is not part of the program (yet), and the
// caller leaves the button disabled or does nothing. Windows keep the names
// they have always had. No dependencies: usable from any layer, though only
// window code can do more with a plat::Form than pass it on.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace plat {
class Form;
}

// One window: calling it returns the window, creating it on first use;
// existing() returns it only when it exists (nullptr otherwise), so code
// that merely unloads or moves it never creates it. An entry registered
// with an opener alone treats the window as always existing.
class WindowSlot {
public:
    using Fn = std::function<plat::Form*()>;
    WindowSlot() = default;
    WindowSlot(std::nullptr_t) {}
    WindowSlot(Fn open, Fn existing) : open_(std::move(open)), existing_(std::move(existing)) {}
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, WindowSlot> &&
                                                std::is_invocable_r_v<plat::Form*, F&>>>
    WindowSlot(F open) : open_(std::move(open)) {}

    explicit operator bool() const { return static_cast<bool>(open_); }
    plat::Form* operator()() const { return open_ ? open_() : nullptr; }
    plat::Form* existing() const { return existing_ ? existing_() : (*this)(); }

private:
    Fn open_;
    Fn existing_;
};

struct WindowRegistry {
    // ---- windows, by their names ------------------------------------------------------
    WindowSlot backgrnd;    // brand background window
    WindowSlot weathers;    // project input window
    WindowSlot setname;     // brand window
    WindowSlot Names;       // brand and office names
    WindowSlot setsize;     // measurement-system window
    WindowSlot menu;        // settings menu
    WindowSlot frmBrowser;  // web browser
    WindowSlot custname;    // customer-name window
    WindowSlot Calculator;  // quick calculator
    WindowSlot elect;       // model-price window
    WindowSlot lease;       // finance calculator
    WindowSlot Prt2;        // printout selection
    WindowSlot coname;      // company name
    WindowSlot setdata;     // weather-city editor
    WindowSlot filldata;    // weather-city data entry
    WindowSlot setfin;      // finance key data
    WindowSlot setheat;     // heater parameters
    WindowSlot Showpump;    // heat-pump performance tables
    WindowSlot setoutp;     // output compensating factors

    // ---- routines that belong to a window folder ----------------------------------------
    std::function<void()> convert_cities;   // "Copy Excel Data": weather cities from a spreadsheet
    std::function<void()> show_custname;    // place and fill the customer-name window
    std::function<void()> The_Print;        // the detailed report book
    std::function<void()> refresh_project;  // the open input window shows the settings again and recalculates
    std::function<void()> save_project;     // the open project into the settings' last project (save_last_data)

    // ---- what one window asks of another ------------------------------------------------------
    // Filled by the register_X_windows() of the window's own folder: a window
    // never reaches into another window's controls. Each does nothing while
    // that window does not exist.
    std::function<void(const std::string&)> set_brand_box;         // weathers.Text1(65) shows this brand
    std::function<void(bool)> enable_project_print;                // weathers.SSCommand1(11), "Print"
    std::function<void(bool)> grey_menu;                           // menu: its list greyed and it disabled, or back
    std::function<void(const std::string&)> show_import_progress;  // backgrnd.Label4 shown with this text

    // ---- what lower layers ask of the windows ----------------------------------------------
    // The data files, the engine and the printouts call these; the windows
    // fill them once in their register_X_windows(). Empty: no window shows
    // it, nothing happens (tests, or the window not yet made).
    std::function<std::string()> brand_box_text;  // the input window's brand box, weathers.Text1(65)
    std::function<void()> fill_city_lists;        // refill its city lists from city_tab
    std::function<void()> clear_results;          // clear its result boxes
    std::function<void()> show_ambient;           // its monthly ambient display
    std::function<void()> show_results;           // redraw its results grid and texts
    std::function<void()> unload_settings;        // unload the open settings windows, in order

    // Every window by its name, for code that goes over all of them (the
    // window tour of the tests).
    std::vector<std::pair<const char*, WindowSlot>> named() const {
        return {{"backgrnd", backgrnd},     {"weathers", weathers}, {"setname", setname},       {"Names", Names},
                {"setsize", setsize},       {"menu", menu},         {"frmBrowser", frmBrowser}, {"custname", custname},
                {"Calculator", Calculator}, {"elect", elect},       {"lease", lease},           {"Prt2", Prt2},
                {"coname", coname},         {"setdata", setdata},   {"filldata", filldata},     {"setfin", setfin},
                {"setheat", setheat},       {"Showpump", Showpump}, {"setoutp", setoutp}};
    }

    // Settings windows that unload_settings closes, in this order.
    std::vector<WindowSlot> settings_order() const {
        return {coname, setname, setsize, setdata, setfin, setheat, Showpump, setoutp};
    }
    // Windows the shutdown unloads after the settings windows, in order:
    // browser, calculator, customer, finance, price, print.
    std::vector<WindowSlot> shutdown_order() const { return {frmBrowser, Calculator, custname, lease, elect, Prt2}; }
};

// The program's one registry.
WindowRegistry& windows();
