#include "spirels/CitySpirel.h"

#include "app/Form.h"

void PlotCity_Click(Form& f) { NotAvailableYet(f, "PlotCity"); }

