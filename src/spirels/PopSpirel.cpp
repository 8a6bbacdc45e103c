#include "spirels/PopSpirel.h"

#include "app/Form.h"

void PopSpirel_Click(Form& f) { NotAvailableYet(f, "Pop-Spirel"); }

