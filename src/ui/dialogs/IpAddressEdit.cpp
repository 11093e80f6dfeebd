#include "ui/dialogs/IpAddressEdit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {
constexpr int kPartMax = 255;
constexpr int kPartDigits = 3;
} // namespace

CIpAddressEdit::CIpAddressEdit(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        auto* part = new QLineEdit(this);
        part->setMaxLength(kPartDigits);
        part->setValidator(new QIntValidator(0, 999, part));
        part->setAlignment(Qt::AlignCenter);
        part->setMaximumWidth(44);
        part->installEventFilter(this);
        const int index = static_cast<int>(i);
        connect(part, &QLineEdit::textEdited, this, [this, index] { PartEdited(index); });
        connect(part, &QLineEdit::editingFinished, this, [part] {
            if (part->text().toInt() > kPartMax)
                part->setText(QString::number(kPartMax));
        });
        m_parts[i] = part;
        layout->addWidget(part);
    }
    layout->addStretch(1);
    setFocusProxy(m_parts[0]);
}

void CIpAddressEdit::SetText(const std::string& text) {
    const std::optional<DottedAddress> address = ParseDottedAddress(text);
    for (std::size_t i = 0; i < m_parts.size(); ++i)
        m_parts[i]->setText(address ? QString::number((*address)[i]) : QString());
}

DottedAddress CIpAddressEdit::Address() const {
    DottedAddress address{};
    for (std::size_t i = 0; i < m_parts.size(); ++i)
        address[i] = std::min(m_parts[i]->text().toInt(), kPartMax);
    return address;
}

std::string CIpAddressEdit::Text() const {
    return FormatDottedAddress(Address());
}

void CIpAddressEdit::PartEdited(int index) {
    QLineEdit* part = Part(index);
    if (part->text().size() == kPartDigits && index + 1 < static_cast<int>(m_parts.size())) {
        Part(index + 1)->setFocus();
        Part(index + 1)->selectAll();
    }
}

bool CIpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto found = std::find(m_parts.begin(), m_parts.end(), watched);
    const auto index = static_cast<int>(found - m_parts.begin());
    if (key->text() == QStringLiteral(".")) {
        if (index + 1 < static_cast<int>(m_parts.size()) && !Part(index)->text().isEmpty()) {
            Part(index + 1)->setFocus();
            Part(index + 1)->selectAll();
        }
        return true;
    }
    if (key->key() == Qt::Key_Backspace && index > 0 && Part(index)->text().isEmpty()) {
        Part(index - 1)->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
