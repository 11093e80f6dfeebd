// The max/min result file: a CSV text that grows by one line per save, headed by the channels'
// names and units, so that the values of a series of records line up in columns.
#pragma once

#include "conditions/TextFile.h"
#include "framework/Clock.h"

#include <string>
#include <vector>

class IPrompt;

// One channel as the digit list shows it.
struct MaxMinRow {
    std::string name;
    std::string unit;
    std::string maxText;
    std::string minText;
};

class CMaxMinFile {
public:
    static constexpr const char* kDialogTitle =
        "Select or Input a file name to save MAX/MIN result";
    static constexpr const char* kDialogFilter = "MAX/MIN Files(*.csv)";
    static constexpr const char* kDialogPattern = "*.csv";

    // `headerPath` is the header file of the current record (its folder is left out of the
    // file); `now` the moment of saving.
    CMaxMinFile(std::vector<MaxMinRow> rows, const std::string& headerPath, const LocalTime& now);

    TextLines HeaderLines() const;
    std::string DataLine() const;
    // Whether the first two lines of a file head the columns of these channels.
    bool Matches(const TextLines& firstLines) const;

    // The automatic save: appends to a matching file unless `overwrite`, otherwise writes the
    // file anew. The empty text on success, else the message of the failure.
    std::string SaveAutomatically(const std::string& path, bool overwrite) const;
    // The save by hand to the path chosen in the save dialog (empty: the dialog was cancelled).
    // An existing file is overwritten or appended to as the user answers; a file headed for
    // other channels is left alone. Every outcome is told through `prompt`; true once saved.
    bool SaveByHand(const std::string& path, IPrompt& prompt) const;

    static constexpr const char* kTitleLine = "MAX/MIN VALUE";
    static constexpr const char* kOverwriteQuestion = "Overwrite ?";
    static constexpr const char* kSavedMessage = "Save MAX/MIN OK!";
    static constexpr const char* kOtherChannelsMessage =
        "The file holds MAX/MIN values of other channels.\nNothing was saved.";

private:
    // Appends the data line when the file heads these channels. The empty text on success;
    // `matched` tells a file of other channels (or an unreadable one) from a failed write.
    std::string Append(const std::string& path, bool& matched) const;
    std::string Rewrite(const std::string& path) const;

    std::vector<MaxMinRow> m_rows;
    std::string m_headerFileName;
    std::string m_date;
    std::string m_time;
};
