#include "setup/ChannelTableRules.h"
