// The Word document procedure the audit and the summary share: start the
// word processor, open the brand's template, put the heat-pump picture at
// "Getpic", fill bookmarks, print, close unsaved and quit; and the project
// block both documents carry.
#pragma once

#include <memory>
#include <string>

#include "printouts/office_app.h"

// Thrown inside a document's fill when the user gives the printout up at a
// printer fault.
struct DocAbandoned {};

class WordDoc {
public:
    // `err_title` is the title of the general error message ("Prt Word err").
    explicit WordDoc(std::string err_title) : title_(std::move(err_title)) {}
    ~WordDoc();  // quits a word processor still running (close unsaved first)
    WordDoc(const WordDoc&) = delete;
    WordDoc& operator=(const WordDoc&) = delete;

    // Steps 2 to 6: start, open the template of the brand word ("WordPrt"
    // + set + brand letter + ".dotx", the summary's letter doubled: set 1 or
    // 2 by company_var, brand letters a, b, c), insert the picture (its two
    // fallbacks tried once each, then none), hide.
    void open(bool summary);
    // Selects the bookmark and inserts the text after it.
    void fill(const std::string& bookmark, const std::string& text);
    // Step 8: print in the foreground, close unsaved, quit.
    void finish();

    // The general failure: one message (description, number, " in ",
    // location, then `extra`), the document closed unsaved, the word
    // processor quit. For a printer fault given up, no message.
    void fail(const std::exception_ptr& e, const std::string& extra = "");

    // Location reported with a failure: 0 up to the template, 24 after.
    int location() const { return location_; }
    // The brand number of the opened template (1..3).
    int brand() const { return brand_; }

private:
    void step(const std::function<void()>& f);
    void quit();

    std::string title_;
    std::unique_ptr<office_app::Word> app_;
    bool open_ = false;
    int location_ = 0;
    int brand_ = 0;
};

// The name of the heat-pump picture of the Word documents for brand b:
// "hppic" n b ".bmp", n = 4, 5, 6 for models_used 1, 2, 3, else 0.
std::string word_picture(int brand);

// The project block shared by the audit and the summary: "bm6" .. "bmb17"
// and "bm18"; `summary` words the peak line and the system line as the
// summary does.
void fill_project_block(WordDoc& d, bool summary);
