// The CAN setting dialog's pages, DCD set and module database for one module kind: CDBCData for
// K modules, CDBCData_G for G modules.
#pragma once

#include "setup/CanSetup.h"

template <class Page> class CCanSetupOf : public CCanSetup {
public:
    using Item = typename decltype(Page::m_items)::value_type;

    CCanSetupOf(Kind kind, CDevice* device, IPrompt& prompt, ISettingsStore& store)
        : CCanSetup(kind, device, prompt, store) {}

    int GetPageCount() const override { return static_cast<int>(m_pages.size()); }
    std::string GetPagePath(int page) const override { return Entry(page).path; }
    int GetShownWords() const override;
    int GetSelectedSignals() const override;
    int GetSelectedWords() const override;

    const Page& GetPage(int page) const { return Entry(page).data; }
    const Page& GetModuleDatabase() const { return m_module; }
    const CDcdSet<Item>& GetDcd() const { return m_dcd; }

protected:
    std::size_t GetShownCount() const override { return ShownItems().size(); }
    CanRow MakeRow(std::size_t index) const override;
    bool IsSelected(std::size_t index) const override;
    bool IsMarked(std::size_t index) const override;
    void SetSelected(std::size_t index, bool selected) override;
    std::string GetCroDtoText() const override;
    const CDbcLeftOut* GetLeftOut(int page) const override { return &Entry(page).leftOut; }
    std::string ReadPage(const std::string& path, int page) override;
    void ErasePage(int page) override;
    std::string GetSelectionText(int page) const override;
    void SetSelectionText(int page, const std::string& text) override;
    std::string ReadDcd(const std::string& path) override;
    bool HasDcd() const override { return m_hasDcd; }
    std::string WriteDcd(const std::string& path) const override;
    std::string GetInexactQuestion(const char* verb) const override;
    bool ReadModule() override;
    bool WriteModule() override;

private:
    struct PageEntry {
        std::string path;
        Page data;
        CDbcLeftOut leftOut;
        std::vector<bool> marked; // per signal: the module cannot take it exactly
    };

    const PageEntry& Entry(int page) const { return m_pages[static_cast<std::size_t>(page)]; }
    // The page on screen, or none on the empty tab and in the other views.
    const PageEntry* ShownPage() const;
    const std::vector<Item>& ShownItems() const;
    std::vector<Page> GetPagesData() const;

    std::vector<PageEntry> m_pages;
    Page m_module;
    CDcdSet<Item> m_dcd;
    bool m_hasDcd = false;
};

extern template class CCanSetupOf<CDBCData>;
extern template class CCanSetupOf<CDBCData_G>;
