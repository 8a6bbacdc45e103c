#include "stats/InfoPaging.h"

#include "app/Form.h"

void NextInfo_Click(Form& f) { NotAvailableYet(f, "Next-Info"); }

void NextLastInfo_Click(Form& f) { NotAvailableYet(f, "N-Last-Info"); }

void LastInfo_Click(Form& f) { NotAvailableYet(f, "Last-Info"); }

