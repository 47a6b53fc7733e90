// The project's values as the printouts show them: area, depth, wind,
// volume, sun, peak loss, fuel name and price, in US or metric units. The
// plain-text audit and the Word documents word a few of them differently;
// `Doc` says which.
#pragma once

#include <string>

enum class Doc { Plain, Word };

std::string area_text();         // "450.0 Ft²" or "41.8 M² "
std::string depth_text();        // "4.5 Ft" or "1.4 M"
std::string wind_text();         // "2.5 MPH" or "4.0 KMH"
std::string volume_text(Doc d);  // "15,148 Gal." or "58,520 Liter." (plain) / "Liters." (Word)
std::string sun_text();          // "65.0 %" or "Maximum" from 80 % on
std::string returns_text();      // "Floor " or "Standard"
std::string electricity_text();  // "$0.152"
std::string fuel_name();         // "" (no heater), "Electricity", "Natural gas", "Propane", "Oil"
std::string temp_unit();         // "Fº" or "Cº"
std::string city_text();
std::string audit_title();  // "Heat Pump Pool Heating Audit" or "... Spa ..."          // the project's city as its
                            // list shows it ("" for no group)

// The heat loss per hour of the peak month (month_need is the month's
// need in BTU, so it is spread over the month's hours), the label of its
// unit and the figure:
// "KBtu/H " (plain) or "KBtu/Hr " (Word) in BTU, "KWatt/Hr" in watts.
struct PeakLoss {
    std::string label, value;
};
PeakLoss peak_loss(Doc d);

// The existing heater's fuel price line: "Cost per Therm      :" and
// "$1.200"; both empty without a fuel heater.
struct FuelPrice {
    std::string caption, price;
};
FuelPrice fuel_price();

// The word with its indefinite article, "a Kestrolin" or "an Ixora": "an"
// before a vowel (by the word's first letter, any letter case).
std::string with_article(const std::string& word);

// The dealer's name at the head of a document: the company name trimmed;
// when it is empty, or the placeholder "Zuro Zove Vodirizi", the brand text.
// The settings keep the name as the dealer typed it.
std::string heading_name();

// Today's date as the printouts show it, "mm-dd-yyyy" (vb::Today, whose
// today_clock tests fix).
std::string date_text();
