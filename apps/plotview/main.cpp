// plotview: the viewer of the PC records that zt300ctl writes.
//   plotview [RECORD]                 open a record: its .hdr, its .dat, or a provisional
//                                     .hdr.part of a record that was not finished
//   --screenshot FILE                 save a picture of the window once the overview is built,
//                                     and quit
//   --export-csv OUT RECORD           write the record as CSV and quit, without a window:
//       --channels LIST               channels by 1-based number, name or series, separated by
//                                     commas (may be given more than once; default: all)
//       --from SECONDS --to SECONDS   only the rows within this elapsed time
//       --wall-clock                  the time column as date and time
#include "records/RecordCsvExport.h"
#include "ui/plotview/PlotViewWindow.h"
#include "ui/plotview/TraceView.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QIcon>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

// How long --screenshot waits for the overview before it takes the picture anyway.
constexpr qint64 kScreenshotWaitMs = 120000;
constexpr int kScreenshotPollMs = 100;

struct Options {
    QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the window and quit."),
                                  QStringLiteral("file")};
    QCommandLineOption exportCsv{QStringLiteral("export-csv"),
                                 QStringLiteral("Write the record as CSV to the file and quit."),
                                 QStringLiteral("file")};
    QCommandLineOption channels{QStringLiteral("channels"),
                                QStringLiteral("Channels to export: numbers, names or series."),
                                QStringLiteral("list")};
    QCommandLineOption from{QStringLiteral("from"), QStringLiteral("Export from this time (s)."),
                            QStringLiteral("seconds")};
    QCommandLineOption to{QStringLiteral("to"), QStringLiteral("Export up to this time (s)."),
                          QStringLiteral("seconds")};
    QCommandLineOption wallClock{QStringLiteral("wall-clock"),
                                 QStringLiteral("Export the time as date and time.")};

    void AddTo(QCommandLineParser& parser) const {
        parser.addHelpOption();
        parser.addOptions({screenshot, exportCsv, channels, from, to, wallClock});
        parser.addPositionalArgument(QStringLiteral("record"),
                                     QStringLiteral("The record's .hdr or .dat file."));
    }
};

std::optional<double> Seconds(const QCommandLineParser& parser, const QCommandLineOption& option,
                              bool& valid) {
    if (!parser.isSet(option))
        return std::nullopt;
    bool ok = false;
    const double value = parser.value(option).toDouble(&ok);
    valid = valid && ok;
    return value;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "plotview: %s\n", message.c_str());
    return 1;
}

int ExportCsv(const QCommandLineParser& parser, const Options& options) {
    const QStringList records = parser.positionalArguments();
    if (records.size() != 1)
        return Fail("--export-csv needs exactly one record.");
    CRecordReader record;
    if (const std::string error = record.Open(records.front().toStdString()); !error.empty())
        return Fail(error);
    for (const std::string& note : record.GetNotes())
        std::fprintf(stderr, "plotview: %s\n", note.c_str());
    CRecordCsvExport::Request request;
    for (const QString& list : parser.values(options.channels)) {
        const std::string error = CRecordCsvExport::ChooseChannels(
            record.GetChannels(), list.toStdString(), request.channels);
        if (!error.empty())
            return Fail(error);
    }
    if (request.channels.empty()) {
        for (std::size_t i = 0; i < record.GetChannels().size(); ++i)
            request.channels.push_back(i);
    }
    bool valid = true;
    const std::optional<double> from = Seconds(parser, options.from, valid);
    const std::optional<double> to = Seconds(parser, options.to, valid);
    if (!valid)
        return Fail("--from and --to take seconds.");
    CRecordCsvExport::RowsBetween(record, from, to, request);
    if (parser.isSet(options.wallClock)) {
        if (!record.GetTimeline().HasWallClock())
            return Fail("The record's header has no date and time.");
        request.time = CRecordCsvExport::TimeColumn::WallClock;
    }
    const std::string error =
        CRecordCsvExport::Write(record, request, parser.value(options.exportCsv).toStdString());
    return error.empty() ? 0 : Fail(error);
}

bool WantsExport(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--export-csv", 12) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    // The export needs no display: it runs without a window system.
    std::unique_ptr<QCoreApplication> app;
    if (WantsExport(argc, argv))
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("plotview"));
    QCoreApplication::setOrganizationName(QStringLiteral("zt300ctl"));
    if (qobject_cast<QApplication*>(app.get()) != nullptr) {
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/plotview.svg")));
        QApplication::setDesktopFileName(QStringLiteral("plotview"));
    }
    // Numbers in files and on the command line keep the decimal point.
    std::setlocale(LC_NUMERIC, "C");

    QCommandLineParser parser;
    const Options options;
    options.AddTo(parser);
    parser.process(*app);
    if (parser.isSet(options.exportCsv))
        return ExportCsv(parser, options);

    CPlotViewWindow window;
    window.show();
    const QStringList records = parser.positionalArguments();
    if (!records.isEmpty()) {
        QString error;
        if (!window.OpenRecord(records.front(),
                               parser.isSet(options.screenshot) ? &error : nullptr))
            return error.isEmpty() ? 1 : Fail(error.toStdString());
    }
    if (parser.isSet(options.screenshot)) {
        const QString file = parser.value(options.screenshot);
        auto* poll = new QTimer(&window);
        auto waited = std::make_shared<QElapsedTimer>();
        waited->start();
        QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, waited, file] {
            if (window.GetRecord() != nullptr && !window.IsOverviewComplete() &&
                waited->elapsed() < kScreenshotWaitMs)
                return;
            poll->stop();
            window.GetTraceView().SetCursorsShown(true);
            window.grab().save(file);
            window.close();
        });
        poll->start(kScreenshotPollMs);
    }
    return QCoreApplication::exec();
}
