// The operations of the card file transfer on one recorder: reading the card's directory,
// copying or moving card files to a PC folder, deleting card files and formatting the card,
// each with its questions, progress texts and messages.
#pragma once

#include "framework/LinkLibrary.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CDevice;
class IPrompt;

class CCardTransfer {
public:
    enum class Kind { Copy, Move, Delete };

    // What the lists must show again after an operation.
    struct Refresh {
        bool card = false; // the directory was read again (it is empty when that failed)
        bool pc = false;
    };

    CCardTransfer(CDevice& device, IPrompt& prompt);

    // Reads the directory; without one, "The memory card does not exist !" and false.
    bool Open();
    const std::vector<LinkCardFolder>& GetFolders() const { return m_folders; }
    // The second model's card cannot be formatted from here.
    bool CanFormat() const;

    // The card files `names` of the folder `folderPath`, in list order. A record is named by its
    // header: the PC name is the lower-cased name with ".dat" made ".hdr", and a record selected
    // by both of its files is done once. Stops at the first failure or when Cancel was pressed.
    Refresh Transfer(Kind kind, const std::string& folderPath,
                     const std::vector<std::string>& names, const std::string& targetFolder);
    Refresh Format();

    // The name under which a card file is asked for and stored on the PC.
    static std::string PcName(const std::string& cardName);

    // How often the desktop is served while the recorder works on a file.
    static constexpr int kPollMs = 30;

private:
    bool ReadDirectory();
    // Runs the library call on a thread of its own and serves the desktop until it returns,
    // so the windows stay responsive during a long transfer.
    int RunCall(const std::function<int(ILinkLibrary&, int)>& call);
    // The link's result for one file, or none when its name cannot be a PC file's.
    std::optional<int> TransferOne(Kind kind, const std::string& folderPath,
                                   const std::string& name, const std::string& targetFolder);

    CDevice& m_device;
    IPrompt& m_prompt;
    std::vector<LinkCardFolder> m_folders;
    bool m_cancelled = false;
};
