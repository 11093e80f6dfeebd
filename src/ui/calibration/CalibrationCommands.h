// The calibration commands of the setup window: "Calibration ..." on the selected cells of
// the channel table, and the calibration template's Export CAL and Import CAL with their file
// dialogs.
#pragma once

#include <QString>

#include <functional>
#include <string>

class CCalibrationDlg;
class CZT300SetDoc;
class CZT300SetView;
class IPrompt;
class QWidget;

class CCalibrationCommands {
public:
    // How the dialog runs: by default CCalibrationDlg::Execute; true for OK.
    using DialogRunner = std::function<bool(CCalibrationDlg&)>;
    // Asks for a file name; empty when cancelled.
    using FileChooser = std::function<std::string(const QString& title, const QString& filter)>;

    // True when the dialog ended with OK and the table was rebuilt.
    static bool Calibrate(CZT300SetDoc& doc, CZT300SetView& view, IPrompt& prompt, QWidget* parent,
                          const DialogRunner& runner = {});
    static bool ExportCal(CZT300SetDoc& doc, IPrompt& prompt, QWidget* parent,
                          const FileChooser& choose = {});
    static bool ImportCal(CZT300SetDoc& doc, IPrompt& prompt, QWidget* parent,
                          const FileChooser& choose = {});

    // The file dialogs' filter, with its patterns as the Qt dialogs read them.
    static QString FileFilter();
};
