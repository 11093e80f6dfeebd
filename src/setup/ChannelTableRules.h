// What each cell of the channel table shows and whether it may be edited.
#pragma once
