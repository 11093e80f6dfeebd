// Fuzz target of the card directory as a recorder answers it over the network. Beyond not
// crashing: a directory that is read at all holds only paths and names the card can have, and
// reads back the same once written.
#include "device/net/NetMessage.h"

#include <cstddef>
#include <cstdint>

namespace {

bool PlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("\\/\0", 3)) == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CNetMessage message(std::vector<std::uint8_t>(data, data + size));
    std::vector<LinkCardFolder> folders;
    message.Get(folders);
    if (!message.Ok()) {
        if (!folders.empty())
            __builtin_trap();
        return 0;
    }
    for (const LinkCardFolder& folder : folders) {
        if (folder.path.empty() || folder.path.front() != '\\' || folder.path.back() != '\\' ||
            folder.path.find("\\\\") != std::string::npos)
            __builtin_trap();
        for (const LinkCardFile& file : folder.files) {
            if (!PlainName(file.name))
                __builtin_trap();
        }
    }
    CNetMessage written;
    written.Put(folders);
    CNetMessage again(written.Bytes());
    std::vector<LinkCardFolder> read;
    again.Get(read);
    if (!again.Ok() || !again.AtEnd() || read != folders)
        __builtin_trap();
    return 0;
}
