// Settings files as the program wrote them at each version of the table
// (Field::since), and the checks every line added later must pass.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "app/model.h"
#include "app/settings.h"

namespace testsupport {

// Whether field f holds the same value in a and b.
inline bool sameValue(const settings::Field& f, const DataModel& a, const DataModel& b) {
    settings::Ref ra = f.at(const_cast<DataModel&>(a));
    settings::Ref rb = f.at(const_cast<DataModel&>(b));
    return std::visit([&](auto* pa) { return *pa == *std::get<decltype(pa)>(rb); }, ra);
}

// The settings file of model m as the program of table version `version`
// wrote it: the lines of that version or older, then its version line,
// which the files before version 1 (kUnmarkedVersion) do not have.
inline std::string settingsFileOfVersion(const DataModel& m, int version) {
    std::vector<settings::Field> table;
    for (const settings::Field& f : settings::fields())
        if (f.since <= version) table.push_back(f);
    std::string text = settings::toText(m, table);
    if (version < settings::kUnmarkedVersion) text.erase(text.rfind(settings::kVersionLine));
    return text;
}

// A line the file gained at a later version (`t.later`), `name` set in m
// to a value other than its default: the file of every version before the
// line reads whole, with the line's default and every older line from the
// file; today's file reads the value back; `outOfRange` in its place is
// refused, that line alone.
inline void expectLaterSetting(const DataModel& m, const std::string& name, const std::string& outOfRange) {
    DataModel defaults;
    set_defaults(defaults);
    const auto& table = settings::fields();
    const settings::Field* line = nullptr;
    for (const settings::Field& f : table)
        if (f.name == name) line = &f;
    ASSERT_NE(line, nullptr) << name << " not in the settings file";
    ASSERT_GT(line->since, 0) << name << " is in every file";
    ASSERT_FALSE(sameValue(*line, m, defaults)) << name << " at its default tells nothing";
    for (int version = 0; version < line->since; ++version) {
        SCOPED_TRACE("a file of version " + std::to_string(version));
        DataModel old = defaults;
        EXPECT_TRUE(settings::fromText(settingsFileOfVersion(m, version), old).ok());
        for (const settings::Field& f : table)
            EXPECT_TRUE(sameValue(f, old, f.since <= version ? m : defaults)) << f.name;
    }
    const std::string text = settings::toText(m);
    DataModel now = defaults;
    EXPECT_TRUE(settings::fromText(text, now).ok());
    EXPECT_TRUE(sameValue(*line, now, m)) << name;

    const std::size_t at = text.find("\n" + name + "=") + 1;
    std::string bad = text;
    bad.replace(at, text.find('\n', at) - at, name + "=" + outOfRange);
    EXPECT_EQ(settings::fromText(bad, now).refused, std::vector<std::string>{name});
}

}  // namespace testsupport
