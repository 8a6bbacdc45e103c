#include "ranksize/Distributions.h"

#include "app/Form.h"

void SizeRank_Click(Form& f) { NotAvailableYet(f, "Size-Rank"); }

void CumRankSize_Click(Form& f) { NotAvailableYet(f, "Cum-Rank-S"); }

void CumSizeRank_Click(Form& f) { NotAvailableYet(f, "Cum-Size-R"); }

