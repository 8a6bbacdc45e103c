#pragma once

class Form;

void RankChange_Click(Form& f);
void PopChange_Click(Form& f);
