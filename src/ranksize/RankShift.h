#pragma once

class Form;

void RankShift_Click(Form& f);
void RankSpace_Click(Form& f);
