#include "acquisition/DocVoiceHost.h"

#include "acquisition/ZT300SetDoc.h"
#include "records/RecordNames.h"

#include <filesystem>

CDocVoiceHost::CDocVoiceHost(CZT300SetDoc& doc, const IClock& clock) : m_doc(doc), m_clock(clock) {}

bool CDocVoiceHost::IsAcquiring() const {
    const CThreadInfo* run = m_doc.GetRun();
    return run != nullptr && !run->HasEnded();
}

std::string CDocVoiceHost::GetRecordFileName() const {
    if (std::string data = m_doc.GetRecordWriter().GetPaths().data; !data.empty())
        return data;
    const CRecCnd& master = m_doc.GetConditions()[static_cast<std::size_t>(m_doc.GetMasterIndex())];
    return RecordFolder(master) + RecordBase(master);
}

void CDocVoiceHost::AddVoiceMark(const std::string& fileName) {
    CRecordWriter& writer = m_doc.GetRecordWriter();
    writer.AddMark(writer.GetSamplesWritten(), FormatTimeText(m_clock.GetLocalTime()),
                   std::filesystem::path(fileName).filename().string());
}
