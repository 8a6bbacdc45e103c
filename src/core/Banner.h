#pragma once
#include "draw/Picture.h"

#include <string>

// The opening banner (681 x 161 pixels), drawn as a display list like every other picture.
// Its subtitle names the data (the Form's DataTitle once loaded; empty: the US default).
Picture MakeBanner(const std::string& data = {});
