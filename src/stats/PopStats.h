#pragma once

class Form;

void PopStats_Click(Form& f);
void NextPop_Click(Form& f);
void LastPop_Click(Form& f);
