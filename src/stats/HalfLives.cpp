#include "stats/HalfLives.h"

#include "app/Form.h"

void HalfLives_Click(Form& f) { NotAvailableYet(f, "Half-Lives"); }

