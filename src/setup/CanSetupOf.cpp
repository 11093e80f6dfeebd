// The kind-dependent half of the CAN setting dialogs.
#include "setup/CanSetupOf.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "device/Device.h"
#include "setup/CanExactness.h"
#include "setup/DcdFile.h"

#include <type_traits>

namespace {

template <class Item> int CountWords(const std::vector<Item>& items, bool selectedOnly) {
    int words = 0;
    for (const Item& item : items) {
        if (!selectedOnly || item.m_selected != 0)
            words += item.GetWordCount();
    }
    return words;
}

std::string ScaleText(double value) {
    return FormatText("%5.3f", value);
}

const std::string& ScaleText(const std::string& text) {
    return text;
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : ",") + text;
    return joined;
}

} // namespace

std::unique_ptr<CCanSetup> CCanSetup::Create(Kind kind, CDevice* device, IPrompt& prompt,
                                             ISettingsStore& store) {
    if (kind == Kind::K)
        return std::make_unique<CCanSetupOf<CDBCData>>(kind, device, prompt, store);
    return std::make_unique<CCanSetupOf<CDBCData_G>>(kind, device, prompt, store);
}

template <class Page>
const typename CCanSetupOf<Page>::PageEntry* CCanSetupOf<Page>::ShownPage() const {
    if (GetShown() != Shown::Page || GetTab() >= GetPageCount())
        return nullptr;
    return &Entry(GetTab());
}

template <class Page>
const std::vector<typename CCanSetupOf<Page>::Item>& CCanSetupOf<Page>::ShownItems() const {
    static const std::vector<Item> kNone;
    switch (GetShown()) {
    case Shown::Module:
        return m_module.m_items;
    case Shown::Dcd:
        return m_dcd.m_items;
    default:
        return ShownPage() != nullptr ? ShownPage()->data.m_items : kNone;
    }
}

template <class Page> int CCanSetupOf<Page>::GetShownWords() const {
    return CountWords(ShownItems(), false);
}

template <class Page> int CCanSetupOf<Page>::GetSelectedSignals() const {
    if (GetSource() == Source::DcdFile)
        return static_cast<int>(m_dcd.m_items.size());
    int signals = 0;
    for (const PageEntry& page : m_pages)
        signals += page.data.CountSelected();
    return signals;
}

template <class Page> int CCanSetupOf<Page>::GetSelectedWords() const {
    if (GetSource() == Source::DcdFile)
        return CountWords(m_dcd.m_items, false);
    int words = 0;
    for (const PageEntry& page : m_pages)
        words += CountWords(page.data.m_items, true);
    return words;
}

template <class Page> CanRow CCanSetupOf<Page>::MakeRow(std::size_t index) const {
    const Item& item = ShownItems()[index];
    CanRow row;
    row.cells = {FormatText("Ch%d", item.m_chNo),
                 item.m_msgId,
                 item.m_multiplex,
                 std::to_string(item.m_msgLength),
                 std::to_string(item.m_start),
                 std::to_string(item.m_signed),
                 std::to_string(item.m_bitLength),
                 std::to_string(item.m_byteOrder),
                 ScaleText(item.m_factor),
                 ScaleText(item.m_offset),
                 item.m_msgName,
                 item.m_name,
                 item.m_unit,
                 item.GetValueTypeName()};
    if (const PageEntry* page = ShownPage()) {
        row.checkable = true;
        row.checked = item.m_selected != 0;
        if (page->marked[index])
            row.mark = CCanExactness::Describe(item);
    }
    return row;
}

template <class Page> bool CCanSetupOf<Page>::IsSelected(std::size_t index) const {
    return ShownPage() != nullptr && ShownPage()->data.m_items[index].m_selected != 0;
}

template <class Page> bool CCanSetupOf<Page>::IsMarked(std::size_t index) const {
    return ShownPage() != nullptr && ShownPage()->marked[index];
}

template <class Page> void CCanSetupOf<Page>::SetSelected(std::size_t index, bool selected) {
    if (ShownPage() != nullptr)
        m_pages[static_cast<std::size_t>(GetTab())].data.m_items[index].m_selected = selected;
}

template <class Page> std::string CCanSetupOf<Page>::GetCroDtoText() const {
    if (GetShown() == Shown::Dcd)
        return "CRO: " + Joined(m_dcd.m_croIds) + "  DTO: " + Joined(m_dcd.m_dtoIds);
    const PageEntry* page = ShownPage();
    return page == nullptr ? std::string()
                           : "CRO: " + page->data.m_croId + "  DTO: " + page->data.m_dtoId;
}

template <class Page> std::string CCanSetupOf<Page>::ReadPage(const std::string& path, int page) {
    PageEntry entry;
    entry.path = path;
    if (std::string message = CDBCFile::Load(path, entry.data, entry.leftOut); !message.empty())
        return message;
    for (const Item& item : entry.data.m_items)
        entry.marked.push_back(!CCanExactness::Describe(item).empty());
    if (page < GetPageCount())
        m_pages[static_cast<std::size_t>(page)] = std::move(entry);
    else
        m_pages.push_back(std::move(entry));
    return {};
}

template <class Page> void CCanSetupOf<Page>::ErasePage(int page) {
    m_pages.erase(m_pages.begin() + page);
}

template <class Page> std::string CCanSetupOf<Page>::GetSelectionText(int page) const {
    std::string text;
    for (const Item& item : Entry(page).data.m_items)
        text += (text.empty() ? "" : ",") + std::to_string(item.m_selected);
    return text;
}

template <class Page> void CCanSetupOf<Page>::SetSelectionText(int page, const std::string& text) {
    TextLines flags;
    CTextFile::SplitText(flags, ",", text);
    std::vector<Item>& items = m_pages[static_cast<std::size_t>(page)].data.m_items;
    for (std::size_t i = 0; i < items.size() && i < flags.size(); ++i)
        items[i].m_selected = ReadInt32(flags[i]) != 0 ? 1 : 0;
}

template <class Page> std::string CCanSetupOf<Page>::ReadDcd(const std::string& path) {
    std::string message = CDcdFile::Load(path, m_dcd);
    if (message.empty())
        m_hasDcd = true;
    return message;
}

template <class Page> std::vector<Page> CCanSetupOf<Page>::GetPagesData() const {
    std::vector<Page> pages;
    for (const PageEntry& page : m_pages)
        pages.push_back(page.data);
    return pages;
}

template <class Page> std::string CCanSetupOf<Page>::WriteDcd(const std::string& path) const {
    return CDcdFile::Save(path, GetPagesData());
}

template <class Page> std::string CCanSetupOf<Page>::GetInexactQuestion(const char* verb) const {
    std::vector<const Item*> selected;
    for (const PageEntry& page : m_pages) {
        for (const Item& item : page.data.m_items) {
            if (item.m_selected != 0)
                selected.push_back(&item);
        }
    }
    return CCanExactness::Question(selected, verb);
}

template <class Page> bool CCanSetupOf<Page>::ReadModule() {
    if (!m_device->ReadCanDatabase(GetSlot(), m_module))
        return false;
    if constexpr (std::is_same_v<Page, CDBCData_G>) {
        m_ackOn = m_module.m_ackOn;
        m_ackValues[GetSlot()] = m_module.m_ackValue;
    }
    return true;
}

template <class Page> bool CCanSetupOf<Page>::WriteModule() {
    if (GetSource() == Source::DcdFile)
        return m_device->WriteCanDcd(GetSlot(), m_dcd);
    return m_device->WriteCanDatabase(GetSlot(), GetPagesData());
}

template class CCanSetupOf<CDBCData>;
template class CCanSetupOf<CDBCData_G>;
