#pragma once

class Form;

void HalfLives_Click(Form& f);
