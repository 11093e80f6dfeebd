// Folder paths such as "\DATA\SUB\" become the items DATA and, below it, SUB.
#include "setup/CardTree.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"

#include <algorithm>

namespace {

CardTreeItem& Child(CardTreeItem& parent, const std::string& text) {
    const auto found = std::ranges::find_if(parent.children, [&](const CardTreeItem& item) {
        return SameTextIgnoringCase(item.text, text);
    });
    if (found != parent.children.end())
        return *found;
    return parent.children.emplace_back(CardTreeItem{text, -1, {}});
}

} // namespace

CardTreeItem BuildCardTree(const std::vector<LinkCardFolder>& folders) {
    CardTreeItem root{kCardTreeRoot, -1, {}};
    for (std::size_t index = 0; index < folders.size(); ++index) {
        TextLines names;
        CTextFile::SplitText(names, "\\", folders[index].path);
        CardTreeItem* item = &root;
        for (const std::string& name : names) {
            if (!name.empty())
                item = &Child(*item, name);
        }
        if (item->folder < 0)
            item->folder = static_cast<int>(index);
    }
    return root;
}

int FindCardFolder(const std::vector<LinkCardFolder>& folders, const std::string& path) {
    const auto found = std::ranges::find_if(folders, [&](const LinkCardFolder& folder) {
        return SameTextIgnoringCase(folder.path, path);
    });
    return found == folders.end() ? -1 : static_cast<int>(found - folders.begin());
}

std::string CardFolderTotalText(const LinkCardFolder& folder) {
    return FormatText("%s  Total: %d files", folder.path.c_str(),
                      static_cast<int>(folder.files.size()));
}
