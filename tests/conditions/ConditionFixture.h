// A condition with every kind of module, channel setting, calculation and monitor channel set
// away from its default, so that a text round trip has something to lose.
#pragma once

#include "conditions/RecCnd.h"

CRecCnd MakeFullCondition();
