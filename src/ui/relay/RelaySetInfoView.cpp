#include "ui/relay/RelaySetInfoView.h"

#include "acquisition/ZT300SetDoc.h"
#include "conditions/RelayTable.h"
#include "framework/UpdateHints.h"
#include "ui/dialogs/DialogText.h"
#include "ui/monitor/MoniChartFrame.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

struct InfoColumn {
    const char* title;
    int characters;
};
constexpr std::array<InfoColumn, 8> kInfoColumns{{{"No.", 5},
                                                  {"Ch", 6},
                                                  {"SignalName", 20},
                                                  {"X", 6},
                                                  {"Logic", 12},
                                                  {"Y", 6},
                                                  {"AND", 6},
                                                  {"Port", 6}}};

} // namespace

CRelaySetInfoView*
CRelaySetInfoView::FollowRelayControl(CMoniChartFrame& frame, bool relayControl,
                                      const std::array<std::uint8_t, 32>& relayBlock) {
    QSplitter* lower = frame.GetLowerSplitter();
    auto* view = lower->findChild<CRelaySetInfoView*>(QString(), Qt::FindDirectChildrenOnly);
    if (relayControl && view == nullptr) {
        view = new CRelaySetInfoView(frame.GetDocument(), relayBlock);
        frame.AddLowerPane(view);
    } else if (!relayControl && view != nullptr) {
        delete view;
        view = nullptr;
    }
    return view;
}

CRelaySetInfoView::CRelaySetInfoView(CZT300SetDoc& doc,
                                     const std::array<std::uint8_t, 32>& relayBlock,
                                     QWidget* parent)
    : QWidget(parent), m_doc(doc), m_relayBlock(relayBlock),
      m_list(new QTableWidget(0, static_cast<int>(kInfoColumns.size()), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    for (QLabel*& line : m_lines) {
        line = new QLabel(this);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        line->setWordWrap(true); // the pane is a quarter of the window
        layout->addWidget(line);
    }
    QStringList titles;
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (std::size_t i = 0; i < kInfoColumns.size(); ++i) {
        titles << QString::fromLatin1(kInfoColumns[i].title);
        m_list->setColumnWidth(static_cast<int>(i), kInfoColumns[i].characters * charWidth + 6);
    }
    m_list->setHorizontalHeaderLabels(titles);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_list, 1);
    m_doc.AddView(this);
    Refresh();
}

CRelaySetInfoView::~CRelaySetInfoView() {
    m_doc.RemoveView(this);
}

void CRelaySetInfoView::OnUpdate(IView*, int hint, const CUpdateData*) {
    // Display data and max/min values come many times a second and change nothing here.
    if (hint != UpdateHint::kNewDisplayData && hint != UpdateHint::kMaxMinChanged)
        Refresh();
}

void CRelaySetInfoView::Refresh() {
    const CRecCnd& condition =
        m_doc.GetConditions()[static_cast<std::size_t>(m_doc.GetShownIndex())];
    const std::vector<std::string> lines = FormatRelayInfoLines(condition.m_dogTimer);
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        m_lines[i]->setText(ToQString(lines[i]));
    const std::vector<int> levels = GetPortLevels(m_relayBlock);
    const auto& monitors = condition.m_monitorChannels;
    m_list->setRowCount(static_cast<int>(monitors.size()));
    for (std::size_t row = 0; row < monitors.size(); ++row) {
        const std::vector<std::string> texts =
            FormatRelayInfoRow(static_cast<int>(row) + 1, monitors[row], levels);
        for (std::size_t column = 0; column < texts.size(); ++column) {
            auto* item = new QTableWidgetItem(ToQString(texts[column]));
            item->setTextAlignment(column == 2 ? Qt::AlignLeft | Qt::AlignVCenter
                                               : Qt::AlignCenter);
            m_list->setItem(static_cast<int>(row), static_cast<int>(column), item);
        }
    }
}

QStringList CRelaySetInfoView::HeaderLines() const {
    QStringList lines;
    for (const QLabel* line : m_lines)
        lines << line->text();
    return lines;
}
