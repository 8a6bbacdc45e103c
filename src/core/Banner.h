#pragma once
#include "draw/Picture.h"

// The opening banner (681 x 161 pixels), drawn as a display list like every other picture.
Picture MakeBanner();
