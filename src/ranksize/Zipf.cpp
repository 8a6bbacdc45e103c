#include "ranksize/Zipf.h"

#include "app/Form.h"

void Zipf_Click(Form& f) { NotAvailableYet(f, "Zipf-Exponents"); }

void NextGraph_Click(Form& f) { NotAvailableYet(f, "Next-Graph"); }

