#include "ui/plotview/PlotViewWindow.h"

#include "records/RecordCsvExport.h"
#include "ui/plotview/ChannelListModel.h"
#include "ui/plotview/CsvExportDlg.h"
#include "ui/plotview/CursorTableModel.h"
#include "ui/plotview/TraceView.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kProgressMs = 100;
constexpr int kProgressSteps = 1000;
// A printed page is laid out this many units wide, text in pixels of those units.
constexpr int kPageUnits = 1400;
constexpr int kPageFontPixels = 13;
constexpr double kZoomStep = 0.5;

const char* const kRecordFilter = "Records (*.hdr *.dat *.hdr.part);;All files (*)";
const char* const kKeysHelp = "Mouse wheel: zoom in and out about the mouse\n"
                              "Shift + wheel, or a horizontal wheel: move in time\n"
                              "Drag: move in time\n"
                              "Right drag, or Shift + drag: zoom to the selected time\n"
                              "Double click: cursor 1 there (Ctrl + double click: cursor 2)\n"
                              "Drag a cursor: move it\n"
                              "1, 2: cursor 1 or 2 to the mouse\n"
                              "Left, Right: move by a tenth (with Shift: by half)\n"
                              "Page Up, Page Down: move by a whole width\n"
                              "+, -: zoom in and out;  Home: the whole record";

QSettings Settings() {
    return QSettings(QStringLiteral("zt300ctl"), QStringLiteral("plotview"));
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CPlotViewWindow::CPlotViewWindow(QWidget* parent)
    : QMainWindow(parent), m_channels(new CChannelListModel(this)),
      m_cursorModel(new CCursorTableModel(this)), m_view(new CTraceView(this)),
      m_notes(new QLabel(this)), m_cursorTimes(new QLabel(this)),
      m_progress(new QProgressBar(this)), m_hover(new QLabel(this)), m_info(new QLabel(this)),
      m_progressTimer(new QTimer(this)) {
    setWindowTitle(QString::fromLatin1(kTitle));
    m_notes->setWordWrap(true);
    m_notes->setStyleSheet(
        QStringLiteral("QLabel { background: #fff4c2; border: 1px solid #e0c060; padding: 4px; }"));
    m_notes->hide();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_notes);
    layout->addWidget(m_view, 1);
    setCentralWidget(central);

    m_progress->setRange(0, kProgressSteps);
    m_progress->setMaximumWidth(220);
    m_progress->setFormat(QStringLiteral("Overview %p%"));
    m_progress->hide();
    statusBar()->addWidget(m_hover, 1);
    statusBar()->addPermanentWidget(m_info);
    statusBar()->addPermanentWidget(m_progress);
    connect(m_progressTimer, &QTimer::timeout, this, &CPlotViewWindow::UpdateProgress);

    BuildMenus();
    BuildDocks();
    connect(m_view, &CTraceView::hoverTextChanged, m_hover, &QLabel::setText);
    connect(m_view, &CTraceView::cursorsChanged, this, &CPlotViewWindow::UpdateCursorReadout);
    connect(m_view, &CTraceView::cursorsChanged, this,
            [this] { m_cursors->setChecked(m_view->AreCursorsShown()); });
    connect(m_channels, &CChannelListModel::shownChanged, this, [this] {
        m_view->update();
        UpdateCursorReadout();
    });
    resize(1400, 900);
    LoadSettings();
}

CPlotViewWindow::~CPlotViewWindow() {
    CloseRecord();
}

void CPlotViewWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this, &CPlotViewWindow::OnOpen);
    file->addAction(QStringLiteral("&Reload"), QKeySequence::Refresh, this,
                    &CPlotViewWindow::OnReload);
    file->addSeparator();
    file->addAction(QStringLiteral("&Export CSV..."), QKeySequence(Qt::CTRL | Qt::Key_E), this,
                    &CPlotViewWindow::OnExportCsv);
    file->addAction(QStringLiteral("Export &PDF..."), this, &CPlotViewWindow::OnExportPdf);
    file->addAction(QStringLiteral("&Print..."), QKeySequence::Print, this,
                    &CPlotViewWindow::OnPrint);
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    auto* layoutGroup = new QActionGroup(this);
    m_stacked =
        view->addAction(QStringLiteral("&Stacked"), m_view, [this] { m_view->SetStacked(true); });
    QAction* overlaid =
        view->addAction(QStringLiteral("&Overlaid"), m_view, [this] { m_view->SetStacked(false); });
    for (QAction* action : {m_stacked, overlaid}) {
        action->setCheckable(true);
        layoutGroup->addAction(action);
    }
    m_stacked->setChecked(true);
    view->addSeparator();
    auto* timeGroup = new QActionGroup(this);
    // The marks list shows its times as the axis does.
    QAction* elapsed = view->addAction(QStringLiteral("&Elapsed Time"), m_view, [this] {
        m_view->SetWallClock(false);
        FillMarks();
    });
    m_wallClock = view->addAction(QStringLiteral("&Wall-Clock Time"), m_view, [this] {
        m_view->SetWallClock(true);
        FillMarks();
    });
    for (QAction* action : {elapsed, m_wallClock}) {
        action->setCheckable(true);
        timeGroup->addAction(action);
    }
    elapsed->setChecked(true);
    view->addSeparator();
    auto* scaleGroup = new QActionGroup(this);
    const std::pair<const char*, CTraceView::ValueScale> scales[] = {
        {"Values Fitted to the &Record", CTraceView::ValueScale::Record},
        {"Values Fitted to the View", CTraceView::ValueScale::View},
        {"Recorded &Chart Scales", CTraceView::ValueScale::Recorded}};
    for (const auto& [text, scale] : scales) {
        QAction* action = view->addAction(QString::fromLatin1(text), m_view,
                                          [this, scale = scale] { m_view->SetValueScale(scale); });
        action->setCheckable(true);
        action->setChecked(scale == CTraceView::ValueScale::Record);
        scaleGroup->addAction(action);
    }
    view->addSeparator();
    QAction* zoomIn =
        view->addAction(QStringLiteral("Zoom &In"), m_view, [this] { m_view->ZoomBy(kZoomStep); });
    zoomIn->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal),
                          QKeySequence(QKeySequence::ZoomIn)});
    QAction* zoomOut = view->addAction(QStringLiteral("Zoom &Out"), m_view,
                                       [this] { m_view->ZoomBy(1.0 / kZoomStep); });
    zoomOut->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence(QKeySequence::ZoomOut)});
    view->addAction(QStringLiteral("&Whole Record"), QKeySequence(Qt::Key_Home), m_view,
                    [this] { m_view->ShowAll(); });
    view->addAction(QStringLiteral("Zoom to &Cursors"), m_view, [this] {
        if (m_view->AreCursorsShown())
            m_view->ShowRows(*m_view->GetCursor(0), *m_view->GetCursor(1));
    });
    m_cursors = view->addAction(QStringLiteral("C&ursors"), QKeySequence(Qt::Key_C), m_view,
                                [this](bool shown) { m_view->SetCursorsShown(shown); });
    m_cursors->setCheckable(true);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Mouse and Keys"), this, &CPlotViewWindow::OnKeysHelp);
}

void CPlotViewWindow::BuildDocks() {
    m_channelTable = new QTableView(this);
    m_channelTable->setModel(m_channels);
    m_channelTable->verticalHeader()->hide();
    m_channelTable->horizontalHeader()->setStretchLastSection(true);
    m_channelTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_channelTable->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_channelTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                m_view->SetCurrentChannel(
                    current.isValid() ? std::optional<std::size_t>(current.row()) : std::nullopt);
            });
    auto* all = new QPushButton(QStringLiteral("Show All"), this);
    auto* none = new QPushButton(QStringLiteral("Hide All"), this);
    connect(all, &QPushButton::clicked, m_channels, [this] { m_channels->SetAllShown(true); });
    connect(none, &QPushButton::clicked, m_channels, [this] { m_channels->SetAllShown(false); });
    auto* channelPane = new QWidget(this);
    auto* channelLayout = new QVBoxLayout(channelPane);
    channelLayout->setContentsMargins(2, 2, 2, 2);
    channelLayout->addWidget(m_channelTable);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all);
    buttons->addWidget(none);
    channelLayout->addLayout(buttons);
    auto* channelDock = new QDockWidget(QStringLiteral("Channels"), this);
    channelDock->setObjectName(QStringLiteral("channels"));
    channelDock->setWidget(channelPane);
    addDockWidget(Qt::LeftDockWidgetArea, channelDock);

    m_marks = new QTreeWidget(this);
    m_marks->setHeaderLabels(
        {QStringLiteral("Time"), QStringLiteral("Mark"), QStringLiteral("Memo")});
    m_marks->setRootIsDecorated(false);
    connect(m_marks, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_view->CenterOn(item->data(0, Qt::UserRole).toDouble());
    });
    auto* markDock = new QDockWidget(QStringLiteral("Marks"), this);
    markDock->setObjectName(QStringLiteral("marks"));
    markDock->setWidget(m_marks);
    addDockWidget(Qt::LeftDockWidgetArea, markDock);

    auto* cursorTable = new QTableView(this);
    cursorTable->setModel(m_cursorModel);
    cursorTable->verticalHeader()->hide();
    cursorTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* cursorPane = new QWidget(this);
    auto* cursorLayout = new QVBoxLayout(cursorPane);
    cursorLayout->setContentsMargins(2, 2, 2, 2);
    cursorLayout->addWidget(m_cursorTimes);
    cursorLayout->addWidget(cursorTable);
    auto* cursorDock = new QDockWidget(QStringLiteral("Cursors"), this);
    cursorDock->setObjectName(QStringLiteral("cursors"));
    cursorDock->setWidget(cursorPane);
    addDockWidget(Qt::BottomDockWidgetArea, cursorDock);
    resizeDocks({channelDock}, {260}, Qt::Horizontal);
    resizeDocks({cursorDock}, {170}, Qt::Vertical);
}

bool CPlotViewWindow::OpenRecord(const QString& path, QString* error) {
    auto record = std::make_unique<CRecordReader>();
    std::string message = record->Open(path.toStdString());
    std::unique_ptr<CRecordOverview> overview;
    if (message.empty()) {
        overview = std::make_unique<CRecordOverview>(*record);
        message = overview->Start();
    }
    if (!message.empty()) {
        if (error != nullptr)
            *error = Text(message);
        else
            QMessageBox::critical(this, QString::fromLatin1(kTitle), Text(message));
        return false;
    }
    CloseRecord();
    m_record = std::move(record);
    m_overview = std::move(overview);
    m_folder = QFileInfo(path).absolutePath();
    m_channels->SetChannels(m_record->GetChannels());
    m_view->SetRecord(m_record.get(), m_overview.get(), m_channels);
    m_view->SetWallClock(m_wallClock->isChecked());
    m_wallClock->setEnabled(m_record->GetTimeline().HasWallClock());
    QStringList notes;
    for (const std::string& note : m_record->GetNotes())
        notes << Text(note).toHtmlEscaped();
    m_notes->setText(notes.join(QStringLiteral("<br>")));
    m_notes->setVisible(!notes.isEmpty());
    FillMarks();
    UpdateTitle();
    const double seconds =
        static_cast<double>(m_record->GetRowCount()) * m_record->GetTimeline().GetRowSeconds();
    m_info->setText(QStringLiteral("%1 channels, %2 rows, %3 s")
                        .arg(m_record->GetChannels().size())
                        .arg(m_record->GetRowCount())
                        .arg(seconds, 0, 'f', 1));
    UpdateProgress();
    if (!m_overview->IsComplete())
        m_progressTimer->start(kProgressMs);
    return true;
}

void CPlotViewWindow::CloseRecord() {
    m_progressTimer->stop();
    m_view->SetRecord(nullptr, nullptr, nullptr);
    m_cursorModel->Update(nullptr, nullptr, std::nullopt, std::nullopt);
    // The builder reads the record: it ends before the record closes.
    m_overview.reset();
    m_record.reset();
}

bool CPlotViewWindow::IsOverviewComplete() const {
    return m_overview != nullptr && m_overview->IsComplete();
}

QString CPlotViewWindow::GetNotesText() const {
    return m_notes->isVisible() || !m_notes->text().isEmpty() ? m_notes->text() : QString();
}

QString CPlotViewWindow::GetCursorTimesText() const {
    return m_cursorTimes->text();
}

void CPlotViewWindow::FillMarks() {
    m_marks->clear();
    if (m_record == nullptr)
        return;
    for (const bool pause : {false, true}) {
        for (const RecordMark& mark : pause ? m_record->GetPauses() : m_record->GetMarks()) {
            auto* item = new QTreeWidgetItem(m_marks);
            item->setText(0, m_view->TimeText(static_cast<double>(mark.row)));
            item->setText(1, pause ? QStringLiteral("Resumed ") + Text(mark.time)
                                   : QStringLiteral("MARK ") + Text(mark.time));
            item->setText(2, Text(mark.memo));
            item->setData(0, Qt::UserRole, static_cast<double>(mark.row));
        }
    }
    m_marks->sortItems(0, Qt::AscendingOrder);
}

void CPlotViewWindow::UpdateTitle() {
    QString title = QString::fromLatin1(kTitle);
    if (m_record != nullptr) {
        title = Text(m_record->GetName()) + QStringLiteral(" - ") + title;
        if (m_record->IsProvisional())
            title = QStringLiteral("%1 (not finished)").arg(title);
    }
    setWindowTitle(title);
}

void CPlotViewWindow::UpdateCursorReadout() {
    const std::optional<double> first = m_view->GetCursor(0);
    const std::optional<double> second = m_view->GetCursor(1);
    m_cursorModel->Update(m_record.get(), m_channels, first, second);
    if (!first || !second || m_record == nullptr) {
        m_cursorTimes->setText(QStringLiteral("Cursors: press C, or double-click the traces."));
        return;
    }
    const double seconds = (*second - *first) * m_record->GetTimeline().GetRowSeconds();
    QString text = QStringLiteral("C1 %1    C2 %2    \u0394t %3 s")
                       .arg(m_view->TimeText(*first), m_view->TimeText(*second))
                       .arg(seconds, 0, 'g', 10);
    if (seconds != 0.0)
        text += QStringLiteral("    1/\u0394t %1 Hz").arg(1.0 / std::fabs(seconds), 0, 'g', 6);
    m_cursorTimes->setText(text);
}

void CPlotViewWindow::UpdateProgress() {
    if (m_overview == nullptr)
        return;
    const bool complete = m_overview->IsComplete();
    m_progress->setVisible(!complete);
    m_progress->setValue(static_cast<int>(std::lround(m_overview->GetProgress() * kProgressSteps)));
    m_view->OverviewAdvanced();
    if (!complete)
        return;
    m_progressTimer->stop();
    if (const std::string error = m_overview->TakeCacheError(); !error.empty())
        statusBar()->showMessage(QStringLiteral("The overview is not kept beside the record: ") +
                                 Text(error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

void CPlotViewWindow::OnOpen() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Record"), m_folder,
                                                      QString::fromLatin1(kRecordFilter));
    if (!path.isEmpty())
        OpenRecord(path);
}

void CPlotViewWindow::OnReload() {
    if (m_record == nullptr)
        return;
    const double first = m_view->GetWindow().GetFirstRow();
    const double end = m_view->GetWindow().GetEndRow();
    const bool whole = m_view->GetWindow().ShowsAll();
    if (OpenRecord(Text(m_record->GetHeaderPath())) && !whole)
        m_view->ShowRows(first, end);
}

void CPlotViewWindow::OnExportCsv() {
    if (m_record == nullptr)
        return;
    CCsvExportDlg dialog(*m_channels, m_record->GetTimeline().HasWallClock(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString suggested = m_folder + QLatin1Char('/') + Text(m_record->GetName()) + ".csv";
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export CSV"), suggested,
                                                      QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    CRecordCsvExport::Request request;
    request.channels = dialog.GetChannels();
    request.time = dialog.GetTimeColumn();
    request.endRow = m_record->GetRowCount();
    if (!dialog.IsWholeRecord()) {
        const CTraceWindow& window = m_view->GetWindow();
        request.firstRow =
            static_cast<std::uint64_t>(std::max(0.0, std::ceil(window.GetFirstRow())));
        request.endRow = std::min<std::uint64_t>(
            request.endRow,
            static_cast<std::uint64_t>(std::max(0.0, std::ceil(window.GetEndRow()))));
    }
    QProgressDialog progress(QStringLiteral("Writing %1").arg(QFileInfo(path).fileName()),
                             QStringLiteral("Cancel"), 0, kProgressSteps, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const std::string error =
        CRecordCsvExport::Write(*m_record, request, path.toStdString(), [&progress](double done) {
            progress.setValue(static_cast<int>(done * kProgressSteps));
            return !progress.wasCanceled();
        });
    progress.reset();
    if (!error.empty() && error != CRecordCsvExport::kCancelled)
        QMessageBox::critical(this, QString::fromLatin1(kTitle), Text(error));
    else if (error.empty())
        statusBar()->showMessage(QStringLiteral("Written: %1").arg(path), 5000);
}

void CPlotViewWindow::RenderPage(QPainter& painter) {
    const QRect viewport = painter.viewport();
    const int height = kPageUnits * viewport.height() / std::max(viewport.width(), 1);
    painter.setWindow(0, 0, kPageUnits, height);
    QFont font = painter.font();
    font.setPixelSize(kPageFontPixels);
    painter.setFont(font);
    const int line = kPageFontPixels + 5;
    int y = line;
    const RecordFileHeader& header = m_record->GetHeader();
    const CTraceWindow& window = m_view->GetWindow();
    QStringList lines = {
        QStringLiteral("%1    %2 %3    %4")
            .arg(Text(m_record->GetName()), Text(header.date), Text(header.time),
                 Text(header.comments[1])),
        QStringLiteral("Shown: %1 to %2")
            .arg(m_view->TimeText(window.GetFirstRow()), m_view->TimeText(window.GetEndRow()))};
    if (m_view->AreCursorsShown())
        lines << m_cursorTimes->text();
    for (const QString& text : lines) {
        painter.drawText(QPoint(0, y), text);
        y += line;
    }
    m_view->Render(painter, QRect(0, y, kPageUnits, height - y));
}

void CPlotViewWindow::OnPrint() {
    if (m_record == nullptr)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    RenderPage(painter);
}

QString CPlotViewWindow::WritePdf(const QString& path) {
    if (m_record == nullptr)
        return QStringLiteral("No record is open.");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(Text(m_record->GetName()));
    {
        QPainter painter;
        if (!painter.begin(&printer))
            return QStringLiteral("%1\nThe PDF file could not be written.").arg(path);
        RenderPage(painter);
    }
    if (!QFileInfo::exists(path))
        return QStringLiteral("%1\nThe PDF file could not be written.").arg(path);
    return {};
}

void CPlotViewWindow::OnExportPdf() {
    if (m_record == nullptr)
        return;
    const QString suggested = m_folder + QLatin1Char('/') + Text(m_record->GetName()) + ".pdf";
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export PDF"), suggested,
                                                      QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (const QString error = WritePdf(path); !error.isEmpty())
        QMessageBox::critical(this, QString::fromLatin1(kTitle), error);
}

void CPlotViewWindow::OnKeysHelp() {
    QMessageBox::information(this, QStringLiteral("Mouse and Keys"),
                             QString::fromLatin1(kKeysHelp));
}

void CPlotViewWindow::LoadSettings() {
    const QSettings settings = Settings();
    restoreGeometry(settings.value(QStringLiteral("geometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("state")).toByteArray());
    m_folder = settings.value(QStringLiteral("folder")).toString();
    if (!settings.value(QStringLiteral("stacked"), true).toBool()) {
        for (QAction* action : m_stacked->actionGroup()->actions()) {
            if (action != m_stacked)
                action->trigger();
        }
    }
}

void CPlotViewWindow::SaveSettings() const {
    QSettings settings = Settings();
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    settings.setValue(QStringLiteral("state"), saveState());
    settings.setValue(QStringLiteral("folder"), m_folder);
    settings.setValue(QStringLiteral("stacked"), m_stacked->isChecked());
}

void CPlotViewWindow::closeEvent(QCloseEvent* event) {
    SaveSettings();
    event->accept();
}
