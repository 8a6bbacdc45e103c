#pragma once

class Form;

void SizeRank_Click(Form& f);
void CumRankSize_Click(Form& f);
void CumSizeRank_Click(Form& f);
