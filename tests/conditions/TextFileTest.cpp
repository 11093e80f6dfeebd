#include "conditions/TextFile.h"
#include "conditions/RecCnd.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir =
            fs::temp_directory_path() /
            ("zt300_textfile_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    fs::path m_dir;
};

} // namespace

TEST(SplitTextTest, KeepsEmptyPiecesAndLongSeparators) {
    TextLines pieces;
    EXPECT_EQ(CTextFile::SplitText(pieces, ",", "a,,b,"), (TextLines{"a", "", "b", ""}));
    EXPECT_EQ(CTextFile::SplitText(pieces, ",", "abc"), (TextLines{"abc"}));
    EXPECT_EQ(CTextFile::SplitText(pieces, ",", ""), (TextLines{""}));
    EXPECT_EQ(CTextFile::SplitText(pieces, "::", "x::y:z::"), (TextLines{"x", "y:z", ""}));
    EXPECT_EQ(CTextFile::SplitText(pieces, ",", " a, b ,c", true), (TextLines{"a", "b ", "c"}));
    EXPECT_EQ(CTextFile::SplitText(pieces, ",", " a, b ,c", false), (TextLines{" a", " b ", "c"}));
}

TEST_F(TextFileTest, WritesCrLfAndReadsLinesBack) {
    const std::string path = Path("lines.txt");
    ASSERT_EQ(CTextFile::WriteTextLines(path, {"first", "", "third"}), "");
    EXPECT_EQ(ReadBytes(path), "first\r\n\r\nthird\r\n");

    ASSERT_EQ(CTextFile::WriteTextLines(path, {"fourth"}, true), "");
    EXPECT_EQ(ReadBytes(path), "first\r\n\r\nthird\r\nfourth\r\n");
    ASSERT_EQ(CTextFile::WriteTextLines(path, {"a", "b"}, false, false), "");
    EXPECT_EQ(ReadBytes(path), "ab");

    // Bare LF, CR LF and stray CRs at the end are all stripped; a last line needs no break.
    WriteBytes(path, "one\ntwo\r\nthree\r\r\nfour");
    TextLines lines;
    ASSERT_EQ(CTextFile::ReadTextLines(path, lines), "");
    EXPECT_EQ(lines, (TextLines{"one", "two", "three", "four"}));

    lines.clear();
    ASSERT_EQ(CTextFile::ReadTextLines(path, lines, 2), "");
    EXPECT_EQ(lines, (TextLines{"one", "two"}));
}

TEST_F(TextFileTest, SplitsLinesLongerThanOneRead) {
    const std::string path = Path("long.txt");
    const std::string longLine(16383 + 10, 'x');
    WriteBytes(path, longLine + "\r\nnext\r\n" + std::string(16383, 'y') + "\n");
    TextLines lines;
    ASSERT_EQ(CTextFile::ReadTextLines(path, lines), "");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], std::string(16383, 'x'));
    EXPECT_EQ(lines[1], std::string(10, 'x'));
    EXPECT_EQ(lines[2], "next");
    EXPECT_EQ(lines[3], std::string(16383, 'y'));
    EXPECT_EQ(lines[4], ""); // the line feed after a full read arrives on its own

    // A CR LF is one character of a read, as when the file is read as text.
    WriteBytes(path,
               std::string(16382, 'z') + "\r\nnext\r\n" + std::string(16383, 'w') + "\r\nlast\r\n");
    lines.clear();
    ASSERT_EQ(CTextFile::ReadTextLines(path, lines), "");
    EXPECT_EQ(lines,
              (TextLines{std::string(16382, 'z'), "next", std::string(16383, 'w'), "", "last"}));
}

// Named pipes and devices would block the program or be read until memory runs out; a file far
// larger than a condition is not read either.
TEST_F(TextFileTest, RefusesWhatIsNotARegularFileOrTooLarge) {
    const std::string pipe = Path("pipe.czd");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string big = Path("big.czd");
    WriteBytes(big, "ZT300_CND_FILE\r\n" + std::string(CTextFile::kMaxLoadBytes, ' '));
    const std::string justFits = Path("fits.czd");
    WriteBytes(justFits, "ZT300_CND_FILE\r\n" + std::string(CTextFile::kMaxLoadBytes - 16, ' '));
    for (const std::string& path : {pipe, std::string("/dev/zero"), big}) {
        SCOPED_TRACE(path);
        const std::string refused = "An unexpected error occurred while reading " + path + ".";
        CRecCnd condition;
        EXPECT_EQ(condition.Load(path), refused);
        TextLines lines;
        EXPECT_EQ(CTextFile::ReadTextLines(path, lines, 0, CTextFile::kMaxLoadBytes), refused);
        EXPECT_TRUE(lines.empty());
    }
    CRecCnd condition;
    EXPECT_EQ(condition.Load(justFits), "");
    TextLines lines;
    EXPECT_EQ(CTextFile::ReadTextLines(big, lines), ""); // other files have no size bound
}

TEST_F(TextFileTest, KeepsEveryByteOfSingleByteText) {
    const std::string path = Path("bytes.txt");
    std::string line;
    for (int c = 1; c < 256; ++c) {
        if (c != '\r' && c != '\n')
            line += static_cast<char>(c);
    }
    line += std::string(1, '\0') + "after-nul";
    ASSERT_EQ(CTextFile::WriteTextLines(path, {line}), "");
    TextLines lines;
    ASSERT_EQ(CTextFile::ReadTextLines(path, lines), "");
    EXPECT_EQ(lines, TextLines{line});
}

TEST_F(TextFileTest, OpenFailuresNameTheirCause) {
    TextLines lines;
    const std::string missing = Path("missing.czd");
    EXPECT_EQ(CTextFile::ReadTextLines(missing, lines),
              missing + "\nCannot find this file.\nPlease verify that the correct path and file "
                        "name are given.");
    const std::string inMissingFolder = Path("nofolder/x.czd");
    EXPECT_EQ(CTextFile::WriteTextLines(inMissingFolder, {"x"}),
              inMissingFolder + "\nCannot find this file.\nPlease verify that the correct path and "
                                "file name are given.");
    EXPECT_EQ(CTextFile::ReadTextLines(m_dir.string(), lines),
              "An unexpected error occurred while reading " + m_dir.string() + ".");
    EXPECT_EQ(CTextFile::WriteTextLines(m_dir.string(), {"x"}),
              "An unexpected error occurred while writing " + m_dir.string() + ".");
    // A full disk, appended to: the device answers every write with ENOSPC.
    EXPECT_EQ(CTextFile::WriteTextLines("/dev/full", {"x"}, true),
              "Destination disk drive is full.");

    EXPECT_EQ(CTextFile::OpenFailureMessage("f", EACCES, FileDirection::Reading),
              "Unable to read from f, it is opened by someone else.");
    EXPECT_EQ(CTextFile::OpenFailureMessage("f", EROFS, FileDirection::Writing),
              "Unable to write to f, it is read-only or opened by someone else.");
    EXPECT_EQ(CTextFile::OpenFailureMessage("f", ENOSPC, FileDirection::Reading),
              "Destination disk drive is full.");
    EXPECT_EQ(CTextFile::OpenFailureMessage("f", EMFILE, FileDirection::Writing),
              "An unexpected error occurred while writing f.");
    EXPECT_EQ(CTextFile::OpenFailureMessage("f", ENAMETOOLONG, FileDirection::Reading),
              "Invalid filename.");
}

TEST_F(TextFileTest, AFailedReplaceKeepsTheOldFile) {
    const std::string path = Path("keep.txt");
    ASSERT_EQ(CTextFile::WriteTextLines(path, {"old"}), "");
    // The temporary file beside the target cannot be created: a folder stands in its place.
    fs::create_directory(path + ".~zt300");
    EXPECT_NE(CTextFile::WriteTextLines(path, {"new"}), "");
    EXPECT_EQ(ReadBytes(path), "old\r\n");
}
