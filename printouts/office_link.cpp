// The applications the printouts start by default.
#include "printouts/office_link.h"

namespace office_app {

WordFactory& word_factory() {
    static WordFactory f = [] { return std::unique_ptr<Word>(std::make_unique<OfficeWord>()); };
    return f;
}

ExcelFactory& excel_factory() {
    static ExcelFactory f = [] { return std::unique_ptr<Excel>(std::make_unique<OfficeExcel>()); };
    return f;
}

}  // namespace office_app
