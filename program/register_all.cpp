#include "program/register_all.h"

#include "app/ui/register.h"
#include "dealer/ui/register.h"
#include "finance/ui/register.h"
#include "input/ui/register.h"
#include "printouts/ui/register.h"
#include "reportbook/ui/register.h"

void register_all_windows() {
    register_app_windows();
    register_input_windows();
    register_dealer_windows();
    register_printouts_windows();
    register_reportbook_windows();
    register_finance_windows();
}
