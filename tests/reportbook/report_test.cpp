// The whole report book of realistic projects, compared line by line with
// the expected transcripts.
#include "report_fixture.h"

#include "platform/print/transcript.h"

namespace rbtest {
namespace {

TEST_F(ReportTest, PoolWithGasHeaterAndThreeCompetitors) {
    pool_with_gas();
    three_competitors();
    prt1::The_Print();
    ASSERT_EQ(cap.documents().size(), 1u);
    EXPECT_EQ("", prn::diffWithExpected(cap.documents()[0], "reportbook/expected/pool_gas_compare.txt"));
}

TEST_F(ReportTest, MetricSpaBackedUpByPropaneWithThreeCompetitors) {
    metric_spa_with_backup();
    three_competitors();
    prt1::The_Print();
    ASSERT_EQ(cap.documents().size(), 1u);
    EXPECT_EQ("", prn::diffWithExpected(cap.documents()[0], "reportbook/expected/spa_metric_backup.txt"));
}

TEST_F(ReportTest, PoolWithoutHeaterNoComparison) {
    pool_without_heater();
    prt1::The_Print();
    ASSERT_EQ(cap.documents().size(), 1u);
    EXPECT_EQ("", prn::diffWithExpected(cap.documents()[0], "reportbook/expected/pool_no_heater.txt"));
}

}  // namespace
}  // namespace rbtest
