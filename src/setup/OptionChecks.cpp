#include "setup/OptionChecks.h"
