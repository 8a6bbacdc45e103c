#pragma once

class Form;

void InfoStats_Click(Form& f);
