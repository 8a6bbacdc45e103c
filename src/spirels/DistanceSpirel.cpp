#include "spirels/DistanceSpirel.h"

#include "app/Form.h"

void DistancePlot_Click(Form& f) { NotAvailableYet(f, "Distance-Spirel"); }

