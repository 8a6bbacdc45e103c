#pragma once

class Form;

void Zipf_Click(Form& f);
void NextGraph_Click(Form& f);
