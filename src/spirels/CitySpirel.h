#pragma once

class Form;

// The rank path of the city chosen in Cities, on the face "Rank-Spirel1" left (replaced by
// an empty face at the first press), with the city's ranks and populations on the window.
// Each further press adds a city in the next colour. Any run-time error ends it silently.
void PlotCity_Click(Form& f);
