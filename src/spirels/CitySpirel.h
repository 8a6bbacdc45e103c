#pragma once

class Form;

void PlotCity_Click(Form& f);
