#include "ranksize/Trajectories.h"

#include "app/Form.h"

void RankChange_Click(Form& f) { NotAvailableYet(f, "Rank Change"); }

void PopChange_Click(Form& f) { NotAvailableYet(f, "Pop Change"); }

