// Fuzz target of the header lines the record list reads: any text gives a row or none, and
// rows sort by every column both ways without breaking the sort's order.
#include "setup/RecordList.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Lines as the file reader delivers them: cut at line feeds, trailing CR and LF stripped.
TextLines ToLines(const std::string& text) {
    TextLines lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(pos, next - pos);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        lines.push_back(std::move(line));
        pos = next;
    }
    return lines;
}

} // namespace

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
