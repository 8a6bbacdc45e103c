#pragma once

class Form;

void RankSpirel1_Click(Form& f);
void RankSpirel2_Click(Form& f);
void RankSpirel3_Click(Form& f);
void RankSpirel4_Click(Form& f);
void RankSpirel5_Click(Form& f);
void RankSpirel6_Click(Form& f);
