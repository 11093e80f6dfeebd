// The document's copy of the max/min values: refresh from the run, reset, and the saves after a
// record and by hand.
#include "acquisition/MaxMinValues.h"

#include "acquisition/RecorderSettings.h"
#include "framework/Document.h"
#include "framework/UpdateHints.h"
#include "records/MaxMinFile.h"
#include "records/MaxMinRunTable.h"
#include "support/FakePrompt.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const LocalTime kSaveTime{2026, 3, 7, 9, 5, 4, 0, 6};
const char* const kHeader = "MAX/MIN VALUE\r\nMEMO,Load,kN,Temp,C,FILENAME,DATE,TIME\r\n";
const char* const kLine1 = ",1.250,-0.500,25.1,24.9,Run_00001.hdr,2026/03/07,09:05:04\r\n";
const char* const kLine2 = ",3.000,-0.500,25.1,24.9,Run_00002.hdr,2026/03/07,09:05:04\r\n";

CMaxMinFile Channels(const std::string& loadMax, const std::string& headerPath) {
    return CMaxMinFile({{"Load", "kN", loadMax, "-0.500"}, {"Temp", "C", "25.1", "24.9"}},
                       headerPath, kSaveTime);
}
CMaxMinFile First() {
    return Channels("1.250", "/data/rec/Run_00001.hdr");
}
CMaxMinFile Second() {
    return Channels("3.000", "/data/rec/Run_00002.hdr");
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class CHintView : public IView {
public:
    void OnUpdate(IView*, int hint, const CUpdateData*) override { m_hints.push_back(hint); }
    std::vector<int> m_hints;
};

} // namespace

TEST(MaxMinValuesTest, DocumentCopyResetAndUnsavedValues) {
    const CTempFolder folder("maxmin-values");
    const std::string path = folder.File("result.csv");
    CFakePrompt prompt;
    CDocument document;
    CHintView view;
    document.AddView(&view);
    CMaxMinValues values;
    CMaxMinRunTable run;
    ASSERT_TRUE(run.Create(2));
    const double row[] = {4.0, -4.0};
    run.UpdateRow(row, row, 2);

    EXPECT_FALSE(values.CanReset());
    values.Reset(&run, document);
    EXPECT_FALSE(values.Refresh(&run, document)) << "no copy before the ring is created";
    ASSERT_TRUE(values.Create(2));
    EXPECT_FALSE(values.Refresh(nullptr, document));
    ASSERT_TRUE(values.Refresh(&run, document));
    EXPECT_DOUBLE_EQ(values.GetCopy().GetEntry(0).maximum, 4.0);
    EXPECT_EQ(view.m_hints, std::vector<int>{UpdateHint::kMaxMinChanged});

    values.Reset(&run, document);
    EXPECT_FALSE(values.GetCopy().GetEntry(0).HasData());
    EXPECT_DOUBLE_EQ(values.GetCopy().GetEntry(0).rawMaximum, 4.0);
    ASSERT_TRUE(values.Refresh(&run, document));
    EXPECT_FALSE(values.GetCopy().GetEntry(1).HasData()) << "the run's table was reset too";
    EXPECT_EQ(view.m_hints.size(), 3u);

    CMaxMinRunTable wider;
    ASSERT_TRUE(wider.Create(3));
    EXPECT_FALSE(values.Refresh(&wider, document));
    EXPECT_EQ(view.m_hints.size(), 3u);

    CRecorderSettings settings;
    EXPECT_FALSE(values.IsUnsaved());
    EXPECT_EQ(values.RecordFinished(settings, First()), "");
    EXPECT_TRUE(values.IsUnsaved()) << "AutoSave off";
    EXPECT_FALSE(fs::exists(path));

    prompt.QueueAnswer(PromptAnswer::No);
    WriteBytes(path, "MAX/MIN VALUE\r\nMEMO,FILENAME,DATE,TIME\r\n");
    EXPECT_FALSE(values.SaveByHand(path, First(), prompt));
    EXPECT_TRUE(values.IsUnsaved()) << "nothing was saved";
    prompt.QueueAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(values.SaveByHand(path, First(), prompt));
    EXPECT_FALSE(values.IsUnsaved());

    settings.m_autoSave = 1;
    settings.m_asMode = 1;
    settings.m_asFilePath = path;
    prompt.Clear();
    EXPECT_EQ(values.RecordFinished(settings, Second()), "");
    EXPECT_EQ(ReadBytes(path), std::string(kHeader) + kLine2);
    EXPECT_FALSE(values.IsUnsaved());
    EXPECT_TRUE(prompt.Messages().empty()) << "automatic saves show nothing";

    settings.m_asMode = 0;
    EXPECT_EQ(values.RecordFinished(settings, First()), "");
    EXPECT_EQ(ReadBytes(path), std::string(kHeader) + kLine2 + kLine1);

    settings.m_asFilePath = folder.File("missing/x.csv");
    EXPECT_NE(values.RecordFinished(settings, First()), "");
    EXPECT_TRUE(values.IsUnsaved()) << "a failed automatic save keeps the values unsaved";
}
