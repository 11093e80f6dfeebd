// The recorder link the program works with: simulated recorders in the program, or the network.
#pragma once

#include <memory>

class IClock;
class ILinkLibrary;

// Kept apart from the Qt sources: the device headers use names that Qt reserves as keywords.
// `port` 0 is the recorders' own port.
std::unique_ptr<ILinkLibrary> CreateLink(bool demo, const IClock* clock, unsigned short port);
