// Two recorder units whose slots carry every module type the channel table tells apart.
#pragma once

#include "conditions/RecCnd.h"

#include <vector>

// Unit 0: voltage (2 channels), strain, temperature, frequency (6 channels), digital input,
// inertial, CAN-K (2 signals, the second of 2 words) and CAN-G on slots 1..8, calculating.
// Unit 1: the two voltage/strain kinds and a module of type 15, not calculating.
std::vector<CRecCnd> MakeTableConditions();
