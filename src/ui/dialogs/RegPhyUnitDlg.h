// "Register Physical Unit": edits the list of units offered for channels.
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;

class CRegPhyUnitDlg : public QDialog {
    Q_OBJECT

public:
    explicit CRegPhyUnitDlg(const std::vector<std::string>& units, QWidget* parent = nullptr);

    const std::vector<std::string>& GetUnits() const { return m_units; }

    QListView* UnitList() const { return m_list; }
    QLineEdit* NewUnitEdit() const { return m_newUnit; }
    QPushButton* InsertBeforeButton() const { return m_insertBefore; }
    QPushButton* InsertAfterButton() const { return m_insertAfter; }
    QPushButton* DeleteButton() const { return m_delete; }

private:
    std::optional<std::size_t> SelectedRow() const;
    void Insert(bool before);
    void Delete();
    void ShowUnits(std::optional<std::size_t> select);
    void UpdateButtons();

    std::vector<std::string> m_units;
    QStringListModel* m_model;
    QListView* m_list;
    QLineEdit* m_newUnit;
    QPushButton* m_insertBefore;
    QPushButton* m_insertAfter;
    QPushButton* m_delete;
};
