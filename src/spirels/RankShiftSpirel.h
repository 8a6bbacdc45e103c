#pragma once

class Form;

void RankShiftSpirel_Click(Form& f);
