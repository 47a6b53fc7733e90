// Comparing a printed document, or any text output, with an expected file
// under tests/ (the text dump of print/transcript.h):
//
//     EXPECT_EQ("", testsupport::diff_with_expected(doc, "printouts/expected/plain_us.txt"));
//
// The path is relative to the tests/ folder of the source tree (found
// through the HEATER_SOURCE_DIR environment variable the test runner sets).
// On a difference the actual text is written as <path> in a private
// temporary folder of the test program (heater-actual-XXXXXX, made only
// then) and the result names the first differing lines. Running a
// test with HEATER_UPDATE_EXPECTED=1 (re)writes the expected file instead;
// read the new file once by eye before committing it.
#pragma once

#include <string>

#include "print/transcript.h"

namespace testsupport {

// "" when the dump of `doc` equals the expected file; else a description of
// the first differences.
std::string diff_with_expected(const prn::Document& doc, const std::string& pathUnderTests);
// The same for any text.
std::string diff_text_with_expected(const std::string& actual, const std::string& pathUnderTests);

}  // namespace testsupport
