#include "gridlook.h"

GridAppearance GridAppearance::standard()
{
    // The grid's font: "MS Sans Serif" 8 points, default character set.
    auto gridFont = [](QString name, LookColor background, LookColor text) {
        GridLook look;
        look.name = std::move(name);
        look.background = background;
        look.text = text;
        look.fontFamily = QStringLiteral("MS Sans Serif");
        look.pointSize = 8;
        look.charset = 1;
        return look;
    };
    GridAppearance appearance;
    appearance.bandHeader = gridFont(QStringLiteral("bandHeader"),
        LookColor::ofRole(QPalette::Button), LookColor::ofRole(QPalette::ButtonText));
    appearance.bandBackground = gridFont(QStringLiteral("bandBackground"),
        LookColor::ofRole(QPalette::Button), LookColor::ofRole(QPalette::ButtonText));
    appearance.content = gridFont(QStringLiteral("content"), LookColor::ofRole(QPalette::Base),
        LookColor::ofRole(QPalette::Text));
    appearance.groupRow = gridFont(QStringLiteral("group"), LookColor::ofRole(QPalette::Midlight),
        LookColor::ofRole(QPalette::Text));
    appearance.footer = appearance.groupRow;
    appearance.footer.name = QStringLiteral("footer");
    appearance.indicator = appearance.bandHeader;
    appearance.indicator.name = QStringLiteral("indicator");
    return appearance;
}
