// Fuzz target of the header lines the record list reads: any text gives a row or none, and
// rows of any such texts sort by every column both ways.
#include "FuzzLines.h"
#include "setup/RecordList.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Several headers in one input, separated by form feeds.
    CRecordList list;
    std::size_t start = 0;
    for (int record = 0; start <= text.size(); ++record) {
        const std::size_t end = std::min(text.find('\f', start), text.size());
        RecordRow row;
        row.fileName = "r" + std::to_string(record) + ".hdr";
        const bool listed = CRecordList::ParseRow(ToLines(text.substr(start, end - start)), row);
        if (listed == row.date.empty())
            __builtin_trap();
        if (listed)
            list.GetRows().push_back(row);
        start = end + 1;
    }
    for (int column = 0; column < RecordColumn::kCount; ++column) {
        for (const bool ascending : {true, false}) {
            list.Sort(column, ascending);
            for (const RecordRow& row : list.GetRows())
                (void)row.Column(column);
        }
    }
    return 0;
}
