#pragma once

class Form;

void DistancePlot_Click(Form& f);
