// "Config IP Addres": the recorder's present address and the new address, mask and gateway to
// give it.
#pragma once

#include <QDialog>

#include <string>

class CIpAddressEdit;

class CConfigIpDlg : public QDialog {
    Q_OBJECT

public:
    explicit CConfigIpDlg(const std::string& oldAddress, QWidget* parent = nullptr);

    std::string GetOldAddress() const;
    std::string GetNewAddress() const;
    std::string GetMask() const;
    std::string GetGateway() const;

    CIpAddressEdit* OldAddressEdit() const { return m_old; }
    CIpAddressEdit* NewAddressEdit() const { return m_new; }
    CIpAddressEdit* MaskEdit() const { return m_mask; }
    CIpAddressEdit* GatewayEdit() const { return m_gateway; }

private:
    CIpAddressEdit* m_old;
    CIpAddressEdit* m_new;
    CIpAddressEdit* m_mask;
    CIpAddressEdit* m_gateway;
};
