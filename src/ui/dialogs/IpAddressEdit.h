// An address field of four numbers 0-255: typing "." or a third digit moves to the next number,
// an empty number counts as 0 and a number above 255 is cut to 255.
#pragma once

#include "setup/OptionConnection.h"

#include <QWidget>

#include <array>
#include <string>

class QLineEdit;

class CIpAddressEdit : public QWidget {
    Q_OBJECT

public:
    explicit CIpAddressEdit(QWidget* parent = nullptr);

    // A text that is not a dotted decimal address leaves the four numbers empty.
    void SetText(const std::string& text);
    std::string Text() const;
    DottedAddress Address() const;

    QLineEdit* Part(int index) const { return m_parts[static_cast<std::size_t>(index)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PartEdited(int index);

    std::array<QLineEdit*, 4> m_parts{};
};
