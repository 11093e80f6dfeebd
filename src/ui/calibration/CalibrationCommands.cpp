#include "ui/calibration/CalibrationCommands.h"

#include "acquisition/ZT300SetDoc.h"
#include "setup/CalTemplate.h"
#include "ui/calibration/CalibrationDlg.h"
#include "ui/dialogs/DialogText.h"
#include "ui/grid/GridCtrl.h"
#include "ui/setup/ZT300SetView.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

bool CCalibrationCommands::Calibrate(CZT300SetDoc& doc, CZT300SetView& view, IPrompt& prompt,
                                     QWidget* parent, const DialogRunner& runner) {
    const CChannelTableRules* rules = view.Rules();
    if (rules == nullptr)
        return false;
    const CCalCommand::RunDialog runDialog = [&](CDevice& device, CRecCnd& condition,
                                                 const CalRequest& request) {
        CCalibrationDlg dialog(device, condition, request, prompt, parent);
        // Window-modal: the demo's simulated inputs (a window of its own) stay usable.
        dialog.setWindowModality(Qt::WindowModal);
        return runner ? runner(dialog) : dialog.Execute() == QDialog::Accepted;
    };
    return CCalCommand::Run(doc, *rules, view.Grid().SelectedCells(), prompt, runDialog);
}

QString CCalibrationCommands::FileFilter() {
    // The dialogs of Qt separate patterns by blanks.
    return QString::fromLatin1(CCalTemplate::kFilter).replace(QLatin1Char(';'), QLatin1Char(' '));
}

bool CCalibrationCommands::ExportCal(CZT300SetDoc& doc, IPrompt& prompt, QWidget* parent,
                                     const FileChooser& choose) {
    const QString title = QString::fromLatin1(CCalTemplate::kExportTitle);
    std::string path =
        choose ? choose(title, FileFilter())
               : ToStdString(QFileDialog::getSaveFileName(parent, title, QString(), FileFilter()));
    if (path.empty())
        return false;
    if (QFileInfo(ToQString(path)).suffix().isEmpty())
        path += CCalTemplate::kExtension;
    return CCalTemplate::Export(doc, path, prompt);
}

bool CCalibrationCommands::ImportCal(CZT300SetDoc& doc, IPrompt& prompt, QWidget* parent,
                                     const FileChooser& choose) {
    const QString title = QString::fromLatin1(CCalTemplate::kImportTitle);
    const std::string path =
        choose ? choose(title, FileFilter())
               : ToStdString(QFileDialog::getOpenFileName(parent, title, QString(), FileFilter()));
    if (path.empty())
        return false;
    return CCalTemplate::Import(doc, path, prompt, [] { QApplication::beep(); });
}
