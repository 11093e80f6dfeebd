#include "ui/setup/ModuleIcons.h"

#include <QPainter>
#include <QPixmap>

#include <array>

namespace {

struct IconLook {
    const char* label;
    QRgb colour;
};

// Indexes 0 and 1 are not used by any module; 2 stands for every module not listed.
constexpr std::array<IconLook, CModuleIcons::kCount> kLooks{{
    {"", 0x808080},
    {"", 0x808080},
    {"?", 0x808080},
    {"VS", 0x2E7D32},
    {"V", 0x1565C0},
    {"F", 0x6A1B9A},
    {"T", 0xC62828},
    {"S", 0xEF6C00},
    {"D", 0x00838F},
    {"X", 0x5D4037},
    {"fx", 0x37474F},
    {"G", 0xAD1457},
    {"VS", 0x558B2F},
    {"K", 0x283593},
    {"G", 0x4527A0},
}};

QIcon DrawIcon(const IconLook& look) {
    QPixmap pixmap(CModuleIcons::kSize, CModuleIcons::kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(look.colour));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0.5, 1.5, 15, 13), 3, 3);
    QFont font = painter.font();
    font.setPixelSize(look.label[1] ? 8 : 11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, CModuleIcons::kSize, CModuleIcons::kSize), Qt::AlignCenter,
                     QString::fromLatin1(look.label));
    return QIcon(pixmap);
}

} // namespace

QIcon CModuleIcons::Icon(int index) {
    static const std::array<QIcon, kCount> icons = [] {
        std::array<QIcon, kCount> drawn;
        for (std::size_t i = 0; i < kCount; ++i)
            drawn[i] = DrawIcon(kLooks[i]);
        return drawn;
    }();
    if (index < 0 || index >= kCount)
        index = 2;
    return icons[static_cast<std::size_t>(index)];
}
