#include "ui/SetFrame.h"

#include "acquisition/ZT300SetDoc.h"
#include "conditions/ConditionTables.h"
#include "framework/Prompt.h"
#include "framework/UpdateHints.h"
#include "records/RecordNames.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

QString ToQt(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}
std::string FromQt(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

template <std::size_t N> QStringList RateTexts(const std::array<std::string_view, N>& rates) {
    QStringList texts;
    for (std::string_view rate : rates)
        texts << QString::fromLatin1(rate.data(), static_cast<qsizetype>(rate.size()));
    return texts;
}

const QStringList& RateListTexts(int list) {
    static const QStringList lists[] = {RateTexts(ConditionTables::kRatesStandard),
                                        RateTexts(ConditionTables::kRatesSecond),
                                        RateTexts(ConditionTables::kRatesThird)};
    return lists[list];
}

QRadioButton* AddRadio(QButtonGroup* group, QHBoxLayout* row, const QString& text, int id) {
    auto* button = new QRadioButton(text);
    group->addButton(button, id);
    row->addWidget(button);
    return button;
}

} // namespace

CZT300SetFrame::CZT300SetFrame(CZT300SetDoc& doc, IPrompt& prompt, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_prompt(prompt), m_tabs(new QTabBar(this)),
      m_layout(new QVBoxLayout(this)) {
    setWindowTitle(ToQt(doc.GetTitle()));
    m_bar = BuildBar();
    m_layout->addWidget(m_bar);
    m_layout->addWidget(m_tabs);
    for (int i = 0; i < std::max(1, doc.GetRecorderCount()); ++i) {
        const bool connected = i < doc.GetRecorderCount();
        m_tabs->addTab(
            connected ? ToQt(doc.GetDevice(i).GetDeviceName() + " " + doc.GetDevice(i).GetAddress())
                      : tr("Offline"));
    }
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (m_doc.GetRecorderCount() > 0)
            m_doc.SetCurrentIndex(index);
        LoadFields();
        emit recorderChanged(index);
    });
    m_doc.AddView(this);
    LoadFields();
}

CZT300SetFrame::~CZT300SetFrame() {
    m_doc.RemoveView(this);
}

void CZT300SetFrame::SetView(QWidget* view) {
    m_layout->addWidget(view, 1);
}

CRecCnd& CZT300SetFrame::Current() const {
    return m_doc.GetConditions()[static_cast<std::size_t>(m_doc.GetShownIndex())];
}

QWidget* CZT300SetFrame::BuildBar() {
    auto* bar = new QGroupBox(this);
    auto* grid = new QGridLayout(bar);

    m_timeLabel = new QLabel(bar);
    m_pre = new QSpinBox(bar);
    m_post = new QSpinBox(bar);
    for (QSpinBox* box : {m_pre, m_post}) {
        box->setRange(0, 999999);
        connect(box, &QSpinBox::valueChanged, this, &CZT300SetFrame::Edited);
    }
    auto* times = new QHBoxLayout;
    times->addWidget(new QLabel(tr("Pre"), bar));
    times->addWidget(m_pre);
    times->addWidget(new QLabel(tr("Post"), bar));
    times->addWidget(m_post);
    grid->addWidget(m_timeLabel, 0, 0);
    grid->addLayout(times, 0, 1);

    m_rate = new QComboBox(bar);
    m_rateLists = new QButtonGroup(bar);
    auto* rates = new QHBoxLayout;
    rates->addWidget(m_rate);
    AddRadio(m_rateLists, rates, tr("A"), 0);
    AddRadio(m_rateLists, rates, tr("B"), 1);
    AddRadio(m_rateLists, rates, tr("C"), 2);
    connect(m_rateLists, &QButtonGroup::idClicked, this, &CZT300SetFrame::FillRates);
    connect(m_rate, &QComboBox::currentTextChanged, this, &CZT300SetFrame::Edited);
    grid->addWidget(new QLabel(tr("Sampling Rate :"), bar), 1, 0);
    grid->addLayout(rates, 1, 1);

    m_sync = new QComboBox(bar);
    for (const auto& mode : ConditionTables::kSyncModes)
        m_sync->addItem(
            QString::fromLatin1(mode.text.data(), static_cast<qsizetype>(mode.text.size())),
            mode.value);
    connect(m_sync, &QComboBox::activated, this, &CZT300SetFrame::OnSyncChosen);
    grid->addWidget(new QLabel(tr("Sync Mode :"), bar), 2, 0);
    grid->addWidget(m_sync, 2, 1);

    m_hddLvlTrg = new QCheckBox(tr("HDD Lvl Trg"), bar);
    m_useRs232c = new QCheckBox(tr("UseRS232C"), bar);
    m_calc = new QCheckBox(tr("Real Time Calc"), bar);
    connect(m_useRs232c, &QCheckBox::toggled, this, &CZT300SetFrame::Edited);
    connect(m_hddLvlTrg, &QCheckBox::toggled, this, &CZT300SetFrame::OnHddLvlTrgToggled);
    connect(m_calc, &QCheckBox::toggled, this, &CZT300SetFrame::OnCalcToggled);
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_hddLvlTrg);
    checks->addWidget(m_useRs232c);
    checks->addWidget(new QLabel(tr("QA-80CALC"), bar));
    checks->addWidget(m_calc);
    grid->addLayout(checks, 3, 0, 1, 2);

    m_subSamp = new QButtonGroup(bar);
    auto* subSamp = new QHBoxLayout;
    subSamp->addWidget(new QLabel(tr("Sub Samp"), bar));
    AddRadio(m_subSamp, subSamp, tr("10S"), 0);
    AddRadio(m_subSamp, subSamp, tr("30S"), 1);
    AddRadio(m_subSamp, subSamp, tr("60S"), 2);
    connect(m_subSamp, &QButtonGroup::idClicked, this, &CZT300SetFrame::Edited);
    grid->addLayout(subSamp, 4, 0, 1, 2);

    m_cardFolder = new QLineEdit(bar);
    m_fileName = new QLineEdit(bar);
    connect(m_cardFolder, &QLineEdit::editingFinished, this,
            [this] { OnNameEditFinished(m_cardFolder, kCardFolderLimit, m_acceptedFolder); });
    connect(m_fileName, &QLineEdit::editingFinished, this,
            [this] { OnNameEditFinished(m_fileName, kFileNameLimit, m_acceptedName); });
    grid->addWidget(new QLabel(tr("Card Folder :"), bar), 0, 2);
    grid->addWidget(m_cardFolder, 0, 3);

    m_hddFolder = new QLabel(bar);
    auto* choose = new QPushButton(tr("..."), bar);
    connect(choose, &QPushButton::clicked, this, &CZT300SetFrame::ChooseFolder);
    auto* folder = new QHBoxLayout;
    folder->addWidget(m_hddFolder, 1);
    folder->addWidget(choose);
    grid->addWidget(new QLabel(tr("HDD Folder :"), bar), 1, 2);
    grid->addLayout(folder, 1, 3);

    m_naming = new QButtonGroup(bar);
    auto* name = new QHBoxLayout;
    name->addWidget(m_fileName, 1);
    AddRadio(m_naming, name, tr("Time"), 0);
    AddRadio(m_naming, name, tr("Count"), 1);
    connect(m_naming, &QButtonGroup::idClicked, this, &CZT300SetFrame::Edited);
    grid->addWidget(new QLabel(tr("FileName:"), bar), 2, 2);
    grid->addLayout(name, 2, 3);

    m_nextRecord = new QLabel(bar);
    grid->addWidget(new QLabel(tr("HDD Rec File :"), bar), 3, 2);
    grid->addWidget(m_nextRecord, 3, 3);

    auto* info = new QHBoxLayout;
    for (QLineEdit*& edit : m_testInfo) {
        edit = new QLineEdit(bar);
        info->addWidget(edit);
    }
    grid->addWidget(new QLabel(tr("TestInfo :"), bar), 4, 2);
    grid->addLayout(info, 4, 3);
    m_memo1 = new QLineEdit(bar);
    m_memo2 = new QLineEdit(bar);
    grid->addWidget(new QLabel(tr("Memo1 :"), bar), 5, 0);
    grid->addWidget(m_memo1, 5, 1);
    grid->addWidget(new QLabel(tr("Memo2 :"), bar), 5, 2);
    grid->addWidget(m_memo2, 5, 3);
    for (QLineEdit* edit : {m_testInfo[0], m_testInfo[1], m_testInfo[2], m_memo1, m_memo2})
        connect(edit, &QLineEdit::textEdited, this, &CZT300SetFrame::Edited);
    return bar;
}

// The Pre/Post fields show the PC record's times while "HDD Lvl Trg" is ticked and the
// recorder's otherwise; each pair keeps its own values.
void CZT300SetFrame::ShowTimes() {
    const bool loading = std::exchange(m_loading, true);
    const CRecCnd& cnd = Current();
    const bool hdd = cnd.m_hddLvlTrg != 0;
    m_timeLabel->setText(hdd ? tr("HDD Recording Time ( seconds ):")
                             : tr("Recording Time ( seconds ):"));
    m_pre->setValue(hdd ? cnd.m_hddPreTime : cnd.m_preTime);
    m_post->setValue(hdd ? cnd.m_hddPostTime : cnd.m_postTime);
    m_loading = loading;
}

void CZT300SetFrame::FillRates(int list) {
    const bool loading = std::exchange(m_loading, true);
    m_rate->clear();
    m_rate->addItems(RateListTexts(list));
    m_rateLists->button(list)->setChecked(true);
    const int row = m_rate->findText(ToQt(Current().m_rate));
    m_rate->setCurrentIndex(row);
    m_loading = loading;
}

void CZT300SetFrame::LoadFields() {
    m_loading = true;
    const CRecCnd& cnd = Current();
    m_hddLvlTrg->setChecked(cnd.m_hddLvlTrg != 0);
    ShowTimes();
    int list = 0;
    for (int i = 0; i < 3; ++i) {
        if (RateListTexts(i).contains(ToQt(cnd.m_rate)))
            list = i;
    }
    FillRates(list);
    m_sync->setCurrentIndex(m_sync->findData(cnd.m_sync));
    m_useRs232c->setChecked(cnd.m_rs232c != 0);
    m_calc->setChecked(cnd.m_calc != 0);
    m_subSamp->button(std::clamp(cnd.m_subSamp, 0, 2))->setChecked(true);
    std::string folder, name;
    SplitBaseFileName(cnd.m_baseFileName, folder, name);
    m_acceptedFolder = ToQt(folder);
    m_acceptedName = ToQt(name);
    m_cardFolder->setText(m_acceptedFolder);
    m_fileName->setText(m_acceptedName);
    m_hddFolder->setText(QStringLiteral(" ") + ToQt(cnd.m_hddRecFolder));
    m_naming->button(cnd.m_hddRecFileExt ? 1 : 0)->setChecked(true);
    for (int i = 0; i < 3; ++i)
        m_testInfo[i]->setText(ToQt(cnd.m_testInfo[static_cast<std::size_t>(i)]));
    m_memo1->setText(ToQt(cnd.m_memo));
    m_memo2->setText(ToQt(cnd.m_memo2));
    m_nextRecord->setText(ToQt(NextRecordDisplayName(cnd, m_doc.GetNextRecordName())));
    RefreshLock();
    m_loading = false;
}

// Every field but the names goes straight into the current recorder's condition.
void CZT300SetFrame::Edited() {
    if (m_loading)
        return;
    CRecCnd& cnd = Current();
    (cnd.m_hddLvlTrg ? cnd.m_hddPreTime : cnd.m_preTime) = m_pre->value();
    (cnd.m_hddLvlTrg ? cnd.m_hddPostTime : cnd.m_postTime) = m_post->value();
    if (m_rate->currentIndex() >= 0)
        cnd.m_rate = FromQt(m_rate->currentText());
    cnd.m_rs232c = m_useRs232c->isChecked() ? 1 : 0;
    cnd.m_subSamp = m_subSamp->checkedId();
    cnd.m_hddRecFileExt = m_naming->checkedId() == 1 ? 1 : 0;
    for (int i = 0; i < 3; ++i)
        cnd.m_testInfo[static_cast<std::size_t>(i)] = FromQt(m_testInfo[i]->text());
    cnd.m_memo = FromQt(m_memo1->text());
    cnd.m_memo2 = FromQt(m_memo2->text());
    m_doc.ConditionEdited(m_doc.GetShownIndex());
    m_doc.UpdateNextRecordName();
    m_nextRecord->setText(ToQt(NextRecordDisplayName(cnd, m_doc.GetNextRecordName())));
}

// The trigger columns of the table and the times of the bar follow the switch at once.
void CZT300SetFrame::OnHddLvlTrgToggled(bool checked) {
    if (m_loading)
        return;
    Current().m_hddLvlTrg = checked ? 1 : 0;
    ShowTimes();
    TableRuleChanged();
}

// The table shows or hides the calculation rows at once.
void CZT300SetFrame::OnCalcToggled(bool checked) {
    if (m_loading)
        return;
    Current().m_calc = checked ? 1 : 0;
    TableRuleChanged();
}

void CZT300SetFrame::TableRuleChanged() {
    m_doc.ConditionEdited(m_doc.GetShownIndex());
    m_doc.UpdateAllViews(this, UpdateHint::kConditionChanged);
}

void CZT300SetFrame::OnSyncChosen(int row) {
    const int value = m_sync->itemData(row).toInt();
    CRecCnd& cnd = Current();
    if (value == cnd.m_sync)
        return;
    if (value != ConditionTables::kSyncSingle &&
        m_prompt.MessageBox(
            "The Sync Mode will be changed to MASTER or SLAVE. It may cause the device not record. "
            "Do you really want to change?",
            PromptIcon::Question, PromptButtons::YesNo) != PromptAnswer::Yes) {
        m_sync->setCurrentIndex(m_sync->findData(cnd.m_sync));
        return;
    }
    cnd.m_sync = value;
    m_doc.ConditionEdited(m_doc.GetShownIndex());
}

void CZT300SetFrame::OnNameEditFinished(QLineEdit* edit, int limit, QString& accepted) {
    if (m_loading || edit->text() == accepted)
        return;
    const std::string message =
        CheckNameText(FromQt(edit->text()), static_cast<std::size_t>(limit));
    if (!message.empty()) {
        edit->setText(accepted);
        m_prompt.MessageBox(message, PromptIcon::Stop);
        return;
    }
    accepted = edit->text();
    ApplyNames();
}

// The card folder and the file name form the base file name of every recorder.
void CZT300SetFrame::ApplyNames() {
    const std::string base = JoinBaseFileName(FromQt(m_acceptedFolder), FromQt(m_acceptedName));
    for (int i = 0; i < static_cast<int>(m_doc.GetConditions().size()); ++i) {
        m_doc.GetConditions()[static_cast<std::size_t>(i)].m_baseFileName = base;
        m_doc.ConditionEdited(i);
    }
    m_doc.UpdateNextRecordName();
    m_nextRecord->setText(ToQt(NextRecordDisplayName(Current(), m_doc.GetNextRecordName())));
}

void CZT300SetFrame::ChooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, tr("HDD Folder"), ToQt(Current().m_hddRecFolder));
    if (folder.isEmpty())
        return;
    Current().m_hddRecFolder = FromQt(folder);
    m_hddFolder->setText(QStringLiteral(" ") + folder);
    m_doc.ConditionEdited(m_doc.GetShownIndex());
    m_doc.UpdateNextRecordName();
    m_nextRecord->setText(ToQt(NextRecordDisplayName(Current(), m_doc.GetNextRecordName())));
}

void CZT300SetFrame::RefreshLock() {
    m_bar->setEnabled(m_doc.CanEditCondition());
}

void CZT300SetFrame::OnUpdate(IView*, int hint, const CUpdateData*) {
    if (hint == UpdateHint::kRepaint)
        RefreshLock();
    if (hint == 0 || hint == UpdateHint::kConditionChanged ||
        hint == UpdateHint::kNextRecordNameChanged || hint == UpdateHint::kArm ||
        hint == UpdateHint::kRecordFinished)
        LoadFields();
}
