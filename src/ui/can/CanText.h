// Names and units of CAN signals on screen: DBC files come as UTF-8 or as Windows-1252.
#pragma once

#include <QString>

#include <string>

// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252.
QString CanTextToQt(const std::string& text);
