// Fuzz target of the card directory as a recorder answers it over the network. Beyond not
// crashing: a directory that is read at all holds only paths and names the card can have, never
// more folders or files than the bytes carry, is taken by the link only when it is the whole
// reply, and reads back the same once written.
#include "device/net/NetMessage.h"

#include <cstddef>
#include <cstdint>

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool PlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("\\/\0", 3)) == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    CNetMessage message(bytes);
    std::vector<LinkCardFolder> folders;
    message.Get(folders);
    Check(folders.capacity() <= size / CNetMessage::kMinCardFolderBytes);
    for (const LinkCardFolder& folder : folders)
        Check(folder.files.capacity() <= size / CNetMessage::kMinCardFileBytes);

    // The link takes the directory only as the whole reply; otherwise the caller's stays.
    const std::vector<LinkCardFolder> kept{{"\\KEPT\\", {}}};
    std::vector<LinkCardFolder> taken = kept;
    const bool whole = CNetMessage(bytes).GetWhole(taken);
    Check(whole == (message.Ok() && message.AtEnd()));
    Check(taken == (whole ? folders : kept));

    if (!message.Ok()) {
        Check(folders.empty());
        return 0;
    }
    for (const LinkCardFolder& folder : folders) {
        Check(!folder.path.empty() && folder.path.front() == '\\' && folder.path.back() == '\\' &&
              folder.path.find("\\\\") == std::string::npos);
        for (const LinkCardFile& file : folder.files)
            Check(PlainName(file.name));
    }
    CNetMessage written;
    written.Put(folders);
    CNetMessage again(written.Bytes());
    std::vector<LinkCardFolder> read;
    Check(again.GetWhole(read) && read == folders);
    return 0;
}
