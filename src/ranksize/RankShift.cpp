#include "ranksize/RankShift.h"

#include "app/Form.h"

void RankShift_Click(Form& f) { NotAvailableYet(f, "Rank Shift"); }

void RankSpace_Click(Form& f) { NotAvailableYet(f, "Rank-Space"); }

