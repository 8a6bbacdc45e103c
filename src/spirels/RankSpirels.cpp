#include "spirels/RankSpirels.h"

#include "app/Form.h"

void RankSpirel1_Click(Form& f) { NotAvailableYet(f, "Rank-Spirel1"); }

void RankSpirel2_Click(Form& f) { NotAvailableYet(f, "Rank-Spirel2"); }

void RankSpirel3_Click(Form& f) { NotAvailableYet(f, "Rank-Spirel3"); }

void RankSpirel4_Click(Form& f) { NotAvailableYet(f, "Rank-Spirel4"); }

void RankSpirel5_Click(Form& f) { NotAvailableYet(f, "Rank-Spirel5"); }

void RankSpirel6_Click(Form& f) { NotAvailableYet(f, "Rank-Spirel6"); }

