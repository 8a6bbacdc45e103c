#include "stats/PopStats.h"

#include "app/Form.h"

void PopStats_Click(Form& f) { NotAvailableYet(f, "Pop-Stats"); }

void NextPop_Click(Form& f) { NotAvailableYet(f, "Next-Pop"); }

void LastPop_Click(Form& f) { NotAvailableYet(f, "Last-Pop"); }

