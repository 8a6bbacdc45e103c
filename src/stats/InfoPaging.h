#pragma once

class Form;

void NextInfo_Click(Form& f);
void NextLastInfo_Click(Form& f);
void LastInfo_Click(Form& f);
