// The "Simulated Inputs" window of the demo mode: the two contacts of the simulated input
// module, and known inputs (a constant, or a constant plus noise) on the channels of the
// simulated recorders, so that records and calibration can be tried without hardware.
#pragma once

#include <QWidget>

#include <memory>
#include <string>

class CExternalInputSim;
class CSimInputs;
class QComboBox;
class QDoubleSpinBox;
class QListWidget;

class CSimInputsWnd : public QWidget {
    Q_OBJECT

public:
    // Either part may be missing: the contacts or the recorders.
    CSimInputsWnd(CExternalInputSim* contacts, std::unique_ptr<CSimInputs> inputs,
                  QWidget* parent = nullptr);
    ~CSimInputsWnd() override;

    // The input of the chosen channel; Off gives it its own signal back.
    void ApplyInput();
    void RemoveInput();
    // The list of the inputs in force, one line per channel.
    void RefreshList();

    QComboBox* RecorderChoice() const { return m_recorder; }
    QComboBox* ChannelChoice() const { return m_channel; }
    QDoubleSpinBox* ValueEdit() const { return m_value; }
    QDoubleSpinBox* NoiseEdit() const { return m_noise; }
    QListWidget* InputList() const { return m_list; }

private:
    QWidget* CreateContacts(CExternalInputSim& contacts);
    QWidget* CreateChannelInputs();
    void FillChannels();
    std::string ChosenAddress() const;

    std::unique_ptr<CSimInputs> m_inputs;
    QComboBox* m_recorder = nullptr;
    QComboBox* m_channel = nullptr;
    QDoubleSpinBox* m_value = nullptr;
    QDoubleSpinBox* m_noise = nullptr;
    QListWidget* m_list = nullptr;
};
