#pragma once

class Form;

void InfoSpirel_Click(Form& f);
