// Where a K module cannot carry a DBC signal as the file defines it: it takes factor and offset
// with three decimals and addresses a signal by its start byte. G modules take both exactly.
#pragma once

#include "device/DBCItem.h"

#include <string>
#include <vector>

class CCanExactness {
public:
    // Whether the value survives the module's "%5.3f" within a relative 1e-6.
    static bool IsScaleExact(double value);
    // Whether the start bit lies on the byte boundary its byte order needs (Intel: a multiple of
    // 8, Motorola: 7 modulo 8). A signal without a DBC start bit passes.
    static bool IsStartExact(const CDBCItem& item);

    // One line per loss, for the signal's tool tip; empty when the module takes it exactly.
    static std::string Describe(const CDBCItem& item);
    static std::string Describe(const CDBCItem_G&) { return {}; }

    // The question before a send ("Send") or a save ("Save") of selected signals that the module
    // cannot take exactly, naming them; empty when there are none.
    static std::string Question(const std::vector<const CDBCItem*>& selected, const char* verb);
    static std::string Question(const std::vector<const CDBCItem_G*>&, const char*) { return {}; }

    static constexpr std::size_t kNamedSignals = 10; // more are counted, not named
};
