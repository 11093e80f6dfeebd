// The lines the card information display shows for the five card values of a recorder:
// presence, capacity and free space in kilobytes, number of files and of folders.
#pragma once

#include "framework/LinkLibrary.h"

#include <string>
#include <vector>

// The free-space value when the card could not be read or holds no card.
inline constexpr std::int32_t kCardInfoUnavailable = -1;

std::vector<std::string> CardInfoLines(const LinkCardInfo& info);
