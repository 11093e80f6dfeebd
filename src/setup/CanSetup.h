// The CAN setting dialogs of both module kinds without their widgets: the module slots of the
// recorder, up to five DBC pages kept in the settings, the DCD set, the list on screen with its
// order and marks, the counts, and the commands that send to and read from the module.
#pragma once

#include "setup/DBCFile.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDevice;
class IPrompt;
class ISettingsStore;

// One row of the signal list as the dialog shows it.
struct CanRow {
    static constexpr int kColumnCount = 14;
    std::array<std::string, kColumnCount> cells;
    bool checkable = false; // rows of a DBC page carry the selection
    bool checked = false;
    std::string mark; // why a K module cannot take the signal exactly; empty when it can
};

class CCanSetup {
public:
    enum class Kind { K, G };
    enum class Source { DbcFiles, DcdFile }; // what is sent
    enum class Shown { Module, Page, Dcd };  // what the list shows

    static constexpr int kMaxPages = 5;
    static constexpr const char* kEmptyTab = " ( Empty ) ";
    static constexpr const char* kDbcFilter = "DBC files(*.dbc)";
    static constexpr const char* kDbcTitle = "Select a DBC File";
    static constexpr const char* kXcpFilter = "XCP files(*.txt)";
    static constexpr const char* kXcpTitle = "Select a XCP Procedure File";

    // `device` is the connected recorder, or none: then the dialog works on files alone.
    static std::unique_ptr<CCanSetup> Create(Kind kind, CDevice* device, IPrompt& prompt,
                                             ISettingsStore& store);
    virtual ~CCanSetup() = default;

    // Restores the pages and files of the last use, then reads the first module's database.
    void Open();
    // The questions and sends of leaving; false keeps the dialog open.
    bool Quit();
    // Writes the pages, their selections and the files to the settings.
    void Close();

    Kind GetKind() const { return m_kind; }
    const char* GetTitle() const;
    const char* GetSection() const;
    const std::vector<int>& GetSlots() const { return m_slots; }
    int GetSlotIndex() const { return m_slotIndex; }
    bool HasModule() const { return !m_slots.empty(); }
    Source GetSource() const { return m_source; }
    Shown GetShown() const { return m_shown; }
    int GetTab() const { return m_tab; }
    std::vector<std::string> GetTabTexts() const;
    virtual int GetPageCount() const = 0;
    virtual std::string GetPagePath(int page) const = 0;
    const std::string& GetDcdPath() const { return m_dcdPath; }
    const std::string& GetXcpPath() const { return m_xcpPath; }
    bool IsXcpOn() const { return m_xcpOn; }
    bool IsAckOn() const { return m_ackOn; }
    bool WasXcpSent() const { return m_xcpSent; }

    // The list on screen, in display order.
    std::string GetCaption() const;
    // What the DBC file of the page on screen had that the page left out; empty otherwise.
    std::string GetLeftOutText() const;
    int GetRowCount() const { return static_cast<int>(m_order.size()); }
    CanRow GetRow(int row) const { return MakeRow(m_order[static_cast<std::size_t>(row)]); }
    // The first row from `from` on (backwards with !forward), wrapping round, whose signal or
    // message name holds `text` regardless of case; -1 when none does.
    int FindRow(const std::string& text, int from, bool forward) const;
    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_ascending; }

    // Counts of the list on screen and of what Send DB sends.
    int GetShownSignals() const { return static_cast<int>(m_order.size()); }
    virtual int GetShownWords() const = 0;
    virtual int GetSelectedSignals() const = 0;
    virtual int GetSelectedWords() const = 0;
    // The words field: " * %d " once the words reach more than a module takes.
    static std::string FormatSelectedWords(int words);

    bool CanCheckAll() const;
    bool CanUncheckAll() const;
    bool CanDeletePage() const;
    bool CanSendDb() const;
    bool CanSendXcp() const { return HasModule() && !m_xcpPath.empty(); }
    bool CanSaveDcd() const { return GetPageCount() > 0; }

    // Commands of the dialog's controls.
    void SelectSlot(int index);
    void SetSource(Source source);
    void ShowTab(int tab);
    // Parses the file into the page of the tab on screen, or a new page on the empty tab.
    bool LoadDbc(const std::string& path);
    bool LoadDcd(const std::string& path);
    void SetXcpPath(const std::string& path) { m_xcpPath = path; }
    // Sorts the list by the column; again on the same column reverses the order.
    void SortBy(int column);
    void SetChecked(int row, bool checked);
    void CheckAll(bool checked);
    void DeletePage();
    void SendDb();
    void ClearDb();
    void SendXcp();
    void SetXcpSwitch(bool on);
    void SetAckOn(bool on) { m_ackOn = on; }
    void SaveDcd(const std::string& path);

protected:
    CCanSetup(Kind kind, CDevice* device, IPrompt& prompt, ISettingsStore& store);

    int GetSlot() const { return m_slots[static_cast<std::size_t>(m_slotIndex)]; }
    // The list on screen in its own order.
    virtual std::size_t GetShownCount() const = 0;
    virtual CanRow MakeRow(std::size_t index) const = 0;
    virtual bool IsSelected(std::size_t index) const = 0;
    virtual bool IsMarked(std::size_t index) const = 0;
    virtual void SetSelected(std::size_t index, bool selected) = 0;
    virtual std::string GetCroDtoText() const = 0;
    virtual const CDbcLeftOut* GetLeftOut(int page) const = 0;
    // The message of a file that cannot be read; empty on success.
    virtual std::string ReadPage(const std::string& path, int page) = 0;
    virtual void ErasePage(int page) = 0;
    virtual std::string GetSelectionText(int page) const = 0;
    virtual void SetSelectionText(int page, const std::string& text) = 0;
    virtual std::string ReadDcd(const std::string& path) = 0;
    virtual bool HasDcd() const = 0;
    virtual std::string WriteDcd(const std::string& path) const = 0;
    // The question before sending or saving selected signals the module cannot take exactly.
    virtual std::string GetInexactQuestion(const char* verb) const = 0;
    virtual bool ReadModule() = 0;
    virtual bool WriteModule() = 0;

    CDevice* m_device;
    IPrompt& m_prompt;
    ISettingsStore& m_store;
    bool m_ackOn = false;
    std::map<int, std::string> m_ackValues; // slot -> the G module's acknowledge value

private:
    void RestorePages();
    void ShowModule();
    // The acknowledge setting to every G module, up to the first failure.
    void SendAckSettings();
    // Rebuilds the display order after the list on screen or its sorting changed.
    void Reorder();

    Kind m_kind;
    std::vector<int> m_slots;
    int m_slotIndex = -1;
    Source m_source = Source::DbcFiles;
    Shown m_shown = Shown::Page;
    int m_tab = 0;
    std::string m_dcdPath;
    std::string m_xcpPath;
    bool m_xcpOn = false;
    bool m_xcpSent = false;
    int m_sortColumn = -1;
    bool m_ascending = true;
    std::vector<std::size_t> m_order; // display row -> index in the list on screen
};
