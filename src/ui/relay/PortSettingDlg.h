// "NI6525 Port Setting": the initial value of each of the eight relay outputs, LOW or HIGH.
#pragma once

#include <QDialog>

#include <vector>

class QComboBox;

class CPortSettingDlg : public QDialog {
    Q_OBJECT

public:
    CPortSettingDlg(const std::vector<int>& levels, QWidget* parent = nullptr);

    // 0 for LOW, 1 for HIGH, one per port.
    std::vector<int> GetLevels() const;
    QComboBox* PortBox(int port) const { return m_ports[static_cast<std::size_t>(port)]; }

private:
    std::vector<QComboBox*> m_ports;
};
