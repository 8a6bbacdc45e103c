#include "spirels/RankShiftSpirel.h"

#include "app/Form.h"

void RankShiftSpirel_Click(Form& f) { NotAvailableYet(f, "RankSSpirel"); }

