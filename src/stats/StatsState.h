#pragma once
#include "stats/InfoStatsState.h"
#include "stats/PopStatsState.h"
