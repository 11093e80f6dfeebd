// The files beside a record's data file that carry its header: the provisional header a running
// record keeps up to date, the room set aside for the final header, and the final header.
#pragma once

#include "conditions/TextFile.h"

#include <cstdint>
#include <string>

// The provisional header of a running record: the final header's path + ".part", the same text
// as the final header counting the whole rows written so far. Record viewers rely on this name.
inline constexpr const char* kProvisionalSuffix = ".part";
// The room kept on the disk for the final header while the record runs: header path + ".room".
inline constexpr const char* kRoomSuffix = ".room";

std::string ProvisionalHeaderPath(const std::string& headerPath);
std::string HeaderRoomPath(const std::string& headerPath);
// The bytes the lines take on the disk, line breaks included.
std::uint64_t HeaderTextBytes(const TextLines& lines);

// Makes the room for the final header at least `bytes` large. Empty, or the message.
std::string ReserveHeaderRoom(const std::string& headerPath, std::uint64_t bytes);
// Replaces the provisional header whole. Empty, or the message.
std::string WriteProvisionalHeader(const std::string& headerPath, const TextLines& lines);
// Writes the final header into the room kept for it, so that a disk the data has filled cannot
// refuse it (as a new file when there is no room), then removes the provisional header. On a
// failure the provisional header stays for the next start. Empty, or the message.
std::string WriteFinalHeader(const std::string& headerPath, const TextLines& lines);
// Removes the provisional header and the room of a record that gets no final header.
void RemoveHeaderHelpers(const std::string& headerPath);
