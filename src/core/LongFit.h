#pragma once
#include <functional>
#include <string>

class Form;
struct TailFitControl;

// Runs a long fit through the form's runner (the window's progress with its Cancel button) or
// at once where there is none. A cancel becomes an error telling that `command` left the
// picture and the text as they were.
void RunLongFit(Form& f, const std::function<void(const TailFitControl&)>& work, const std::string& command);
