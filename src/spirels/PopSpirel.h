#pragma once

class Form;

void PopSpirel_Click(Form& f);
