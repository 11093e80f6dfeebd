// How a list is sorted: the column last clicked and, for each column, its direction; a click on
// the column already sorted by reverses it.
#pragma once

#include <map>

class CSortState {
public:
    explicit CSortState(int column = 0, bool ascending = true) { Set(column, ascending); }

    void Set(int column, bool ascending) {
        m_column = column;
        m_ascending[column] = ascending;
    }
    // A column sorted before keeps the direction it had; a new one starts ascending.
    void Click(int column) {
        if (column == m_column)
            m_ascending[column] = !IsAscending();
        m_column = column;
    }
    int GetColumn() const { return m_column; }
    bool IsAscending() const {
        const auto found = m_ascending.find(m_column);
        return found == m_ascending.end() || found->second;
    }

private:
    int m_column = 0;
    std::map<int, bool> m_ascending;
};
