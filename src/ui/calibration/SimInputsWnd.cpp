#include "ui/calibration/SimInputsWnd.h"

#include "acquisition/ExternalInputSim.h"
#include "device/sim/SimInputs.h"
#include "ui/dialogs/DialogText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr double kLargestInput = 1e6;
constexpr int kDecimals = 4;

QDoubleSpinBox* NumberEdit(double minimum, QWidget* parent) {
    auto* edit = new QDoubleSpinBox(parent);
    edit->setRange(minimum, kLargestInput);
    edit->setDecimals(kDecimals);
    return edit;
}

} // namespace

CSimInputsWnd::CSimInputsWnd(CExternalInputSim* contacts, std::unique_ptr<CSimInputs> inputs,
                             QWidget* parent)
    : QWidget(parent, Qt::Tool), m_inputs(std::move(inputs)) {
    setWindowTitle(tr("Simulated Inputs"));
    auto* layout = new QVBoxLayout(this);
    if (contacts != nullptr)
        layout->addWidget(CreateContacts(*contacts));
    if (m_inputs != nullptr)
        layout->addWidget(CreateChannelInputs());
}

CSimInputsWnd::~CSimInputsWnd() = default;

QWidget* CSimInputsWnd::CreateContacts(CExternalInputSim& contacts) {
    auto* box = new QGroupBox(tr("Contacts"), this);
    auto* row = new QHBoxLayout(box);
    auto* input1 = new QCheckBox(tr("Input 1"), box);
    auto* input2 = new QCheckBox(tr("Input 2"), box);
    row->addWidget(input1);
    row->addWidget(input2);
    const auto apply = [&contacts, input1, input2] {
        contacts.SetInputs(input1->isChecked(), input2->isChecked());
    };
    connect(input1, &QCheckBox::toggled, box, apply);
    connect(input2, &QCheckBox::toggled, box, apply);
    return box;
}

QWidget* CSimInputsWnd::CreateChannelInputs() {
    auto* box = new QGroupBox(tr("Channel inputs (in the unit of the channel's range)"), this);
    m_recorder = new QComboBox(box);
    m_channel = new QComboBox(box);
    m_value = NumberEdit(-kLargestInput, box);
    m_noise = NumberEdit(0.0, box);
    m_list = new QListWidget(box);
    for (const auto& [text, address] : m_inputs->Recorders())
        m_recorder->addItem(ToQString(text), ToQString(address));
    auto* apply = new QPushButton(tr("Apply"), box);
    auto* off = new QPushButton(tr("Off"), box);
    auto* form = new QFormLayout;
    form->addRow(tr("Recorder"), m_recorder);
    form->addRow(tr("Channel"), m_channel);
    form->addRow(tr("Value"), m_value);
    form->addRow(tr("Noise (+-)"), m_noise);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(off);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(m_list);
    connect(m_recorder, &QComboBox::currentIndexChanged, this, &CSimInputsWnd::FillChannels);
    connect(apply, &QPushButton::clicked, this, &CSimInputsWnd::ApplyInput);
    connect(off, &QPushButton::clicked, this, &CSimInputsWnd::RemoveInput);
    FillChannels();
    RefreshList();
    return box;
}

std::string CSimInputsWnd::ChosenAddress() const {
    return ToStdString(m_recorder->currentData().toString());
}

void CSimInputsWnd::FillChannels() {
    m_channel->clear();
    for (const auto& [slot, channel] : m_inputs->Channels(ChosenAddress()))
        m_channel->addItem(QStringLiteral("%1-%2").arg(slot).arg(channel + 1),
                           QPoint(slot, channel));
}

void CSimInputsWnd::ApplyInput() {
    const QPoint place = m_channel->currentData().toPoint();
    if (m_channel->currentIndex() < 0)
        return;
    m_inputs->Set(ChosenAddress(), {place.x(), place.y()}, m_value->value(), m_noise->value());
    RefreshList();
}

void CSimInputsWnd::RemoveInput() {
    const QPoint place = m_channel->currentData().toPoint();
    if (m_channel->currentIndex() < 0)
        return;
    m_inputs->Remove(ChosenAddress(), {place.x(), place.y()});
    RefreshList();
}

void CSimInputsWnd::RefreshList() {
    m_list->clear();
    for (const std::string& line : m_inputs->Describe())
        m_list->addItem(ToQString(line));
}
