#include "stats/InfoStats.h"

#include "app/Form.h"

void InfoStats_Click(Form& f) { NotAvailableYet(f, "Info-Stats"); }

