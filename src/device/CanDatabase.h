// A CAN module's signal list (one page of a DBC file, or the database read back from a module)
// and the chosen signal set of a DCD file.
#pragma once

#include "device/DBCItem.h"

#include <string>
#include <vector>

// Data words one module can decode; signals beyond them are not sent.
inline constexpr int kCanModuleWords = 56;

template <class Item> class CCanDatabase {
public:
    void Clear() {
        m_slot = -1;
        m_croId.clear();
        m_dtoId.clear();
        m_items.clear();
    }
    int CountSelected() const {
        int count = 0;
        for (const Item& item : m_items)
            count += item.m_selected != 0 ? 1 : 0;
        return count;
    }

    int m_slot = -1; // the module's slot, -1 for a page read from a file
    std::string m_croId;
    std::string m_dtoId;
    std::vector<Item> m_items;
};

using CDBCData = CCanDatabase<CDBCItem>;

// A G module's database also carries its acknowledge setting, read with it.
class CDBCData_G : public CCanDatabase<CDBCItem_G> {
public:
    void Clear() {
        CCanDatabase<CDBCItem_G>::Clear();
        m_ackOn = false;
        m_ackValue.clear();
    }

    bool m_ackOn = false;
    std::string m_ackValue;
};

// The CRO and DTO ids by page index and every signal of a DCD file (it holds only chosen ones).
template <class Item> class CDcdSet {
public:
    std::vector<std::string> m_croIds;
    std::vector<std::string> m_dtoIds;
    std::vector<Item> m_items;
};
