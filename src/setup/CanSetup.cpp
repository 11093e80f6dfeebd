// The CAN setting dialogs' state and commands that do not depend on the module kind.
#include "setup/CanSetup.h"

#include "conditions/ConditionTables.h"
#include "conditions/TextNumbers.h"
#include "device/Device.h"
#include "framework/Prompt.h"
#include "framework/SettingsStore.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numeric>

namespace {

constexpr int kNumericColumns = 10; // "Ch" to "OV"; the names after them sort as text
constexpr std::size_t kMessageNameColumn = 10;
constexpr std::size_t kSignalNameColumn = 11;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

// The settings keys of page p: "DBC_File", then "DBC_File1" to "DBC_File4".
std::string PageKey(const char* key, int page) {
    return page == 0 ? std::string(key) : key + std::to_string(page);
}

// A cell of a numeric column as a number: the digits after "Ch", an empty field first.
double SortNumber(const std::string& cell, int column) {
    if (cell.empty())
        return -std::numeric_limits<double>::infinity();
    return ReadReal(column == 0 ? std::string_view(cell).substr(2) : std::string_view(cell));
}

} // namespace

CCanSetup::CCanSetup(Kind kind, CDevice* device, IPrompt& prompt, ISettingsStore& store)
    : m_device(device), m_prompt(prompt), m_store(store), m_kind(kind) {
    if (m_device == nullptr || !m_device->IsConnected())
        return;
    const std::int32_t type = kind == Kind::K ? ModuleType::kCanK : ModuleType::kCanG;
    for (int slot = 1; slot <= CDevice::kSlotCount; ++slot) {
        if (m_device->GetSlots()[static_cast<std::size_t>(slot - 1)].m_typeCode != type)
            continue;
        m_slots.push_back(slot);
        if (const CDBCData_G* database = m_device->FindCanGDatabase(slot))
            m_ackValues[slot] = database->m_ackValue;
    }
}

const char* CCanSetup::GetTitle() const {
    return m_kind == Kind::K ? "QA-80CAN-K Setting" : "QA-80CAN-G Setting";
}

const char* CCanSetup::GetSection() const {
    return m_kind == Kind::K ? "CCANSetDlg_Section" : "CCANSetDlg_G_Section";
}

void CCanSetup::Open() {
    RestorePages();
    if (m_kind == Kind::K) {
        m_xcpPath = m_store.GetString(GetSection(), "XCP_File", "");
        const std::string dcd = m_store.GetString(GetSection(), "DCD_File", "");
        if (!dcd.empty()) {
            if (const std::string message = ReadDcd(dcd); message.empty())
                m_dcdPath = dcd;
            else
                m_prompt.MessageBox(message, PromptIcon::Stop);
        }
    }
    m_tab = 0;
    m_shown = Shown::Page;
    Reorder();
    if (HasModule())
        SelectSlot(0);
}

void CCanSetup::RestorePages() {
    for (int page = 0; page < kMaxPages; ++page) {
        const std::string path = m_store.GetString(GetSection(), PageKey("DBC_File", page), "");
        if (path.empty())
            continue;
        if (const std::string message = ReadPage(path, GetPageCount()); !message.empty()) {
            m_prompt.MessageBox(message, PromptIcon::Stop);
            continue;
        }
        SetSelectionText(GetPageCount() - 1,
                         m_store.GetString(GetSection(), PageKey("DBC_Sel", page), ""));
    }
}

bool CCanSetup::Quit() {
    if (!HasModule())
        return true;
    if (m_kind == Kind::K) {
        return m_xcpSent ||
               m_prompt.MessageBox("XCP has not been sent.  Quit OK?", PromptIcon::Question,
                                   PromptButtons::OkCancel) == PromptAnswer::Ok;
    }
    SendAckSettings();
    return true;
}

void CCanSetup::SendAckSettings() {
    for (int slot : m_slots) {
        std::string value;
        bool known = true;
        if (const auto found = m_ackValues.find(slot); found != m_ackValues.end()) {
            value = found->second;
        } else {
            bool on = false;
            known = m_device->GetAckSetting(slot, on, value);
        }
        if (!known || !m_device->SetAckSetting(slot, m_ackOn, value)) {
            m_prompt.MessageBox("Sending ACKON failed!", PromptIcon::Stop);
            return;
        }
    }
}

void CCanSetup::Close() {
    for (int page = 0; page < kMaxPages; ++page) {
        const bool present = page < GetPageCount();
        m_store.WriteString(GetSection(), PageKey("DBC_File", page),
                            present ? GetPagePath(page) : "");
        m_store.WriteString(GetSection(), PageKey("DBC_Sel", page),
                            present ? GetSelectionText(page) : "");
    }
    if (m_kind == Kind::K) {
        m_store.WriteString(GetSection(), "XCP_File", m_xcpPath);
        m_store.WriteString(GetSection(), "DCD_File", m_dcdPath);
    }
}

std::vector<std::string> CCanSetup::GetTabTexts() const {
    std::vector<std::string> texts;
    for (int page = 0; page < GetPageCount(); ++page)
        texts.push_back(std::filesystem::path(GetPagePath(page)).filename().string());
    if (GetPageCount() < kMaxPages)
        texts.emplace_back(kEmptyTab);
    return texts;
}

std::string CCanSetup::GetCaption() const {
    if (m_shown == Shown::Module)
        return FormatText("DB Data at SlotNo_%d", GetSlot());
    if (m_shown == Shown::Page && m_tab >= GetPageCount())
        return {};
    return GetCroDtoText();
}

std::string CCanSetup::GetLeftOutText() const {
    if (m_shown != Shown::Page || m_tab >= GetPageCount())
        return {};
    return GetLeftOut(m_tab)->Describe();
}

int CCanSetup::FindRow(const std::string& text, int from, bool forward) const {
    const int rows = GetRowCount();
    if (rows == 0 || text.empty())
        return -1;
    const std::string wanted = Lower(text);
    for (int step = 0; step < rows; ++step) {
        const int row = ((forward ? from + step : from - step) % rows + rows) % rows;
        const CanRow cells = GetRow(row);
        if (Lower(cells.cells[kSignalNameColumn]).find(wanted) != std::string::npos ||
            Lower(cells.cells[kMessageNameColumn]).find(wanted) != std::string::npos)
            return row;
    }
    return -1;
}

std::string CCanSetup::FormatSelectedWords(int words) {
    return words > kCanModuleWords ? FormatText(" * %d ", words) : std::to_string(words);
}

bool CCanSetup::CanCheckAll() const {
    if (m_shown != Shown::Page)
        return false;
    for (std::size_t i = 0; i < GetShownCount(); ++i) {
        if (!IsSelected(i) && !IsMarked(i))
            return true;
    }
    return false;
}

bool CCanSetup::CanUncheckAll() const {
    if (m_shown != Shown::Page)
        return false;
    for (std::size_t i = 0; i < GetShownCount(); ++i) {
        if (IsSelected(i))
            return true;
    }
    return false;
}

bool CCanSetup::CanDeletePage() const {
    return m_shown == Shown::Page && m_tab < GetPageCount();
}

bool CCanSetup::CanSendDb() const {
    return HasModule() && (m_source == Source::DcdFile ? HasDcd() : GetPageCount() > 0);
}

void CCanSetup::SelectSlot(int index) {
    if (index < 0 || index >= static_cast<int>(m_slots.size()))
        return;
    m_slotIndex = index;
    if (m_kind == Kind::K) {
        bool on = false;
        m_xcpOn = m_device->GetXcpSwitch(GetSlot(), on) && on;
    }
    ShowModule();
}

void CCanSetup::ShowModule() {
    const bool read = ReadModule();
    m_shown = Shown::Module;
    Reorder();
    if (!read)
        m_prompt.MessageBox("Reading CAN DB failed!", PromptIcon::Stop);
}

void CCanSetup::SetSource(Source source) {
    m_source = source;
    m_shown = source == Source::DcdFile ? Shown::Dcd : Shown::Page;
    Reorder();
}

void CCanSetup::ShowTab(int tab) {
    m_tab = std::clamp(tab, 0, std::min(GetPageCount(), kMaxPages - 1));
    SetSource(Source::DbcFiles);
}

bool CCanSetup::LoadDbc(const std::string& path) {
    m_tab = std::min(m_tab, kMaxPages - 1);
    if (const std::string message = ReadPage(path, m_tab); !message.empty()) {
        m_prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    SetSource(Source::DbcFiles);
    return true;
}

bool CCanSetup::LoadDcd(const std::string& path) {
    if (const std::string message = ReadDcd(path); !message.empty()) {
        m_prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    m_dcdPath = path;
    SetSource(Source::DcdFile);
    return true;
}

void CCanSetup::SortBy(int column) {
    if (column < 0 || column >= CanRow::kColumnCount)
        return;
    m_ascending = column == m_sortColumn ? !m_ascending : true;
    m_sortColumn = column;
    Reorder();
}

void CCanSetup::Reorder() {
    m_order.resize(GetShownCount());
    std::iota(m_order.begin(), m_order.end(), std::size_t{0});
    if (m_sortColumn < 0)
        return;
    const auto column = static_cast<std::size_t>(m_sortColumn);
    std::vector<std::string> texts(m_order.size());
    std::vector<double> numbers(m_order.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        const std::string cell = MakeRow(i).cells[column];
        if (m_sortColumn < kNumericColumns)
            numbers[i] = SortNumber(cell, m_sortColumn);
        else
            texts[i] = Lower(cell);
    }
    const auto less = [&](std::size_t a, std::size_t b) {
        return m_sortColumn < kNumericColumns ? numbers[a] < numbers[b] : texts[a] < texts[b];
    };
    std::stable_sort(m_order.begin(), m_order.end(), [&](std::size_t a, std::size_t b) {
        return m_ascending ? less(a, b) : less(b, a);
    });
}

void CCanSetup::SetChecked(int row, bool checked) {
    if (m_shown == Shown::Page && row >= 0 && row < GetRowCount())
        SetSelected(m_order[static_cast<std::size_t>(row)], checked);
}

void CCanSetup::CheckAll(bool checked) {
    if (m_shown != Shown::Page)
        return;
    // A signal the module cannot take exactly is only ever chosen one by one.
    for (std::size_t i = 0; i < GetShownCount(); ++i) {
        if (!checked || !IsMarked(i))
            SetSelected(i, checked);
    }
}

void CCanSetup::DeletePage() {
    if (!CanDeletePage() || m_prompt.MessageBox("Delete this page ?", PromptIcon::Question,
                                                PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    ErasePage(m_tab);
    m_tab = std::min(m_tab, GetPageCount());
    Reorder();
}

void CCanSetup::SendDb() {
    if (!CanSendDb())
        return;
    if (m_source == Source::DbcFiles) {
        const std::string question = GetInexactQuestion("Send");
        if (!question.empty() && m_prompt.MessageBox(question, PromptIcon::Exclamation,
                                                     PromptButtons::YesNo) != PromptAnswer::Yes)
            return;
    }
    const bool written = WriteModule();
    if (!written)
        m_prompt.MessageBox("Writing CAN DB failed!", PromptIcon::Stop);
    const bool read = ReadModule();
    m_shown = Shown::Module;
    Reorder();
    if (!read)
        m_prompt.MessageBox("Reading CAN DB failed!", PromptIcon::Stop);
    else if (written)
        m_prompt.MessageBox("Writing CAN DB OK!", PromptIcon::Information);
}

void CCanSetup::ClearDb() {
    if (!HasModule() || m_prompt.MessageBox("Clear CAN DB ?", PromptIcon::Question,
                                            PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    if (!m_device->ClearCanDatabase(GetSlot()))
        m_prompt.MessageBox("Clear CAN DB failed!", PromptIcon::Stop);
    ShowModule();
}

void CCanSetup::SendXcp() {
    if (!CanSendXcp())
        return;
    std::string content;
    if (const std::string message = CDBCFile::ReadWhole(m_xcpPath, content); !message.empty()) {
        m_prompt.MessageBox(message, PromptIcon::Stop);
        return;
    }
    // An empty line is no procedure step; a blank last line must not fail the whole procedure.
    TextLines lines;
    for (std::string_view line : CDBCFile::SplitLines(content)) {
        if (line.find_first_not_of(" \t") != std::string_view::npos)
            lines.emplace_back(line);
    }
    if (!m_device->WriteXcpProcedure(GetSlot(), lines)) {
        m_prompt.MessageBox("Writing CAN XCP failed!", PromptIcon::Stop);
        return;
    }
    m_xcpSent = true;
    m_prompt.MessageBox("Writing XCP OK!", PromptIcon::Information);
}

void CCanSetup::SetXcpSwitch(bool on) {
    if (!HasModule())
        return;
    if (m_device->SetXcpSwitch(GetSlot(), on))
        m_xcpOn = on;
    else
        m_prompt.MessageBox("Set XCP SW failed!", PromptIcon::Stop);
}

void CCanSetup::SaveDcd(const std::string& path) {
    if (!CanSaveDcd())
        return;
    const std::string question = GetInexactQuestion("Save");
    if (!question.empty() && m_prompt.MessageBox(question, PromptIcon::Exclamation,
                                                 PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    if (const std::string message = WriteDcd(path); !message.empty()) {
        m_prompt.MessageBox(message, PromptIcon::Stop);
        return;
    }
    m_prompt.MessageBox("DCD File saved !", PromptIcon::Information);
    if (!m_dcdPath.empty() && Lower(path) == Lower(m_dcdPath) &&
        m_prompt.MessageBox("The DCD File has been updated. Read again ?", PromptIcon::Question,
                            PromptButtons::YesNo) == PromptAnswer::Yes)
        LoadDcd(path);
}
