// The small pictures of the module column, one per image index of the module strip.
#pragma once

#include <QIcon>

class CModuleIcons {
public:
    static constexpr int kCount = 15;
    static constexpr int kSize = 16;

    // The icon of an image index; an index outside the strip gives the icon of other modules.
    static QIcon Icon(int index);
};
