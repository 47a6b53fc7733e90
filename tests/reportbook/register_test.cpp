// The printout selection's print choice 3 reaches the report book through
// the window registry.
#include "reportbook/ui/register.h"
#include "core/windows.h"
#include "tests/reportbook/report_fixture.h"

namespace rbtest {
namespace {

TEST_F(ReportTest, PrintChoiceThreeReachesTheReportBookThroughTheRegistry) {
    windows() = WindowRegistry{};
    register_reportbook_windows();
    ASSERT_TRUE(windows().The_Print);
    pool_with_gas();
    windows().The_Print();
    ASSERT_EQ(cap.documents().size(), 1u);
    EXPECT_EQ(cap.documents()[0].name, "Report book");
    EXPECT_EQ(cap.documents()[0].pages.size(), 3u);  // no comparison asked for
    windows() = WindowRegistry{};
}

}  // namespace
}  // namespace rbtest
