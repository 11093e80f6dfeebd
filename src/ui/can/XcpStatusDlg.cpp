#include "ui/can/XcpStatusDlg.h"

#include <QDialogButtonBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The widest line a module can give, to size the window before the first answer.
const QString kWidestLine = QString::fromUtf8(CXcpCommands::StatusLine(8, 3).c_str());

// Paints the status lines at their places: kIndentChars character widths in, kLinePitch text
// heights apart, the first one text height down.
class CStatusLines : public QWidget {
public:
    CStatusLines(const QStringList& lines, int count, QWidget* parent)
        : QWidget(parent), m_lines(lines), m_count(std::max(count, 1)) {
        setObjectName(QStringLiteral("statusLines"));
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics = fontMetrics();
        const int indent = CXcpStatusDlg::kIndentChars * metrics.averageCharWidth();
        return {2 * indent + metrics.horizontalAdvance(kWidestLine),
                (CXcpStatusDlg::kLinePitch * m_count + 1) * metrics.height()};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics metrics = fontMetrics();
        const int x = CXcpStatusDlg::kIndentChars * metrics.averageCharWidth();
        int top = metrics.height();
        for (const QString& line : m_lines) {
            painter.drawText(x, top + metrics.ascent(), line);
            top += CXcpStatusDlg::kLinePitch * metrics.height();
        }
    }

private:
    const QStringList& m_lines;
    int m_count;
};

} // namespace

CXcpStatusDlg::CXcpStatusDlg(CDevice& device, QWidget* parent)
    : QDialog(parent), m_xcp(device),
      m_area(new CStatusLines(m_lines, static_cast<int>(m_xcp.GetSlots().size()), this)),
      m_close(new QPushButton(QStringLiteral("Close"), this)) {
    setWindowTitle(QStringLiteral("CANK XCP Status"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_close, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_area, 1);
    layout->addWidget(buttons);
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &CXcpStatusDlg::Poll);
    connect(buttons, &QDialogButtonBox::rejected, this, &CXcpStatusDlg::reject);
}

void CXcpStatusDlg::Poll() {
    QStringList lines;
    for (const std::string& line : m_xcp.ReadStatusLines())
        lines << QString::fromUtf8(line.c_str());
    if (lines == m_lines)
        return;
    m_lines = lines;
    m_area->update();
}

void CXcpStatusDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_timer.start();
    // The first answers come at once, not a second later.
    QTimer::singleShot(0, this, &CXcpStatusDlg::Poll);
}

void CXcpStatusDlg::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QDialog::hideEvent(event);
}

void RunXcpStatusDlg(CDevice& device, QWidget* parent) {
    CXcpStatusDlg dialog(device, parent);
    dialog.exec();
}
