#include "spirels/InfoSpirel.h"

#include "app/Form.h"

void InfoSpirel_Click(Form& f) { NotAvailableYet(f, "Info-Spirel"); }

