#pragma once
#include <string_view>

class Form;

// Lays the picture out anew, at Picture1's size and zoom (its View), through the command that
// drew it: the map at its chosen date and colouring, any other command run again. A command
// that would start a long fit (a bootstrap) or pages on (Next-...), or that fails, is not run:
// the picture, its size and the text stay as they were and false is returned. The text the
// command prints again is the same, so the text kept is the one shown.
bool RedrawPicture(Form& f, std::string_view command);
