// The card's folders as the "Device" tree shows them: the root item "Memory Card" and below it
// each folder path cut at its backslashes into nested items.
#pragma once

#include "framework/LinkLibrary.h"

#include <string>
#include <vector>

struct CardTreeItem {
    std::string text;
    int folder = -1; // the directory's folder this item shows; -1 when the card lists none here
    std::vector<CardTreeItem> children;
};

inline constexpr const char* kCardTreeRoot = "Memory Card";

// Children keep the order of the directory's folders.
CardTreeItem BuildCardTree(const std::vector<LinkCardFolder>& folders);
// The index of the folder with this path (compared without regard to case), or -1.
int FindCardFolder(const std::vector<LinkCardFolder>& folders, const std::string& path);
// "%s  Total: %d files" of the folder's path and its number of files.
std::string CardFolderTotalText(const LinkCardFolder& folder);
