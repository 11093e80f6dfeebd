// The material parameter file ("zai"): a title and the list of materials, one per line under a
// fixed header and column header.
#pragma once

#include "conditions/TextFile.h"
#include "monitor/MaterialItem.h"

#include <string>
#include <vector>

class CMaterialData : public CTextFile {
public:
    static constexpr const char* kFileHeader = "Material Parameter File";
    static constexpr const char* kColumnHeader =
        "MATERIAL,ID,UNIT,MAX,MIN,DAMAGE,LIFE,CALCHK,CALVALUE,CALUNIT,LINE,SVALUE,SLOPE,S1,N1,S2,"
        "N2,S3,N3,S4,N4,S2CHK,S3CHK,INVALIDCHK,INVALIDCNT";

    // The file header, the title and the column header; lines of 25 columns become materials,
    // others are skipped. A file without the header leaves the list empty.
    bool ParseLines(const TextLines& lines) override;
    void FormatLines(TextLines& lines) const override;

    // The 1-based line that made the last ParseLines refuse the file (one past the end when the
    // file is too short); 0 after a success.
    int GetRefusedLine() const { return m_refusedLine; }

    std::string m_title;
    std::vector<CMaterialItem> m_items;

protected:
    // Starts a parse: empties the list and forgets the last refusal.
    void Clear();
    bool Refuse(int line);

private:
    int m_refusedLine = 0;
};
