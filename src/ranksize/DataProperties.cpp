#include "ranksize/DataProperties.h"

#include "app/Form.h"

void DataProperties_Click(Form& f) { NotAvailableYet(f, "Data Properties"); }

