// The program's single-byte texts in and out of the widgets.
#pragma once

#include <QString>

#include <string>

QString ToQString(const std::string& text);
std::string ToStdString(const QString& text);
