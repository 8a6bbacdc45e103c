#pragma once

class Form;

// The number of cities among the top 25 at both dates of every pair of dates: one curve
// per date. With HalfLivesNoDraw = 1 it only clears the picture and computes TopOverlap
// and AvTopOverlap.
void HalfLives_Click(Form& f);
