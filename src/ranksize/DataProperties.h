#pragma once

class Form;

void DataProperties_Click(Form& f);
