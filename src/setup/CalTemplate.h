// The calibration template file: the calibration of one recorder unit as tab-separated text a
// spreadsheet opens, written by Export CAL and read by Import CAL and at connection (CalRef).
#pragma once

#include "conditions/TextFile.h"

#include <functional>
#include <string>
#include <vector>

class CRecCnd;
class CRecorderSettings;
class CZT300SetDoc;
class IPrompt;

class CCalTemplate {
public:
    static constexpr const char* kExportTitle = "Export to a Calibration Template File";
    static constexpr const char* kImportTitle = "Import from a Calibration Template File";
    static constexpr const char* kFilter = "Calibration Template Files (*.cal;*.tmp)";
    static constexpr const char* kExtension = ".cal";
    static constexpr const char* kExportedOk = "Exported CAL OK!";
    // The version this program writes: from it on a line carries both calibration points.
    static constexpr int kVersion = 3;

    // The template of unit `unit`; every channel of every unit gets its running number first.
    static void FormatLines(std::vector<CRecCnd>& conditions, int unit, TextLines& lines);
    // Applies a template to the channels of the units listed: every line or none. Empty when
    // it was applied, else which line is wrong and why (nothing changed then).
    static std::string ApplyLines(std::vector<CRecCnd>& conditions, const std::vector<int>& units,
                                  const TextLines& lines);
    // Reads the file and applies it the same way; the message names the file.
    static std::string ApplyFile(std::vector<CRecCnd>& conditions, const std::vector<int>& units,
                                 const std::string& path);

    // Export CAL of the document's current unit, telling the user how it went.
    static bool Export(CZT300SetDoc& doc, const std::string& path, IPrompt& prompt);
    // Import CAL into the document's current unit; a refused file beeps and says why.
    static bool Import(CZT300SetDoc& doc, const std::string& path, IPrompt& prompt,
                       const std::function<void()>& beep);
    // The step of connecting with CalRef on: the calibration file of the settings onto every
    // unit. A file that does not fit changes nothing and is reported.
    static void ApplyReference(std::vector<CRecCnd>& conditions, const CRecorderSettings& settings,
                               IPrompt& prompt);
};
