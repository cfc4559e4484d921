#include "cellstyle.h"
#include "testenvironment.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

class DefaultColours : public ::testing::Test
{
protected:
    void SetUp() override { rememberDefaultCellStyleColours(TestEnvironment::palette()); }
    void TearDown() override { rememberDefaultCellStyleColours(TestEnvironment::palette()); }
};

} // namespace

TEST_F(DefaultColours, DefaultStyleIsTahomaCentredInTheRememberedColours)
{
    QPalette palette = TestEnvironment::palette();
    palette.setColor(QPalette::ButtonText, QColor(1, 2, 3));
    palette.setColor(QPalette::Dark, QColor(4, 5, 6));
    palette.setColor(QPalette::Base, QColor(7, 8, 9));
    // Decoys: roles that are close in meaning but not the ones the style takes.
    palette.setColor(QPalette::Text, QColor(100, 0, 0));
    palette.setColor(QPalette::Shadow, QColor(0, 100, 0));
    palette.setColor(QPalette::Window, QColor(0, 0, 100));
    rememberDefaultCellStyleColours(palette);

    const CellStyle style = DefaultCellStyle();
    EXPECT_EQ(style.alignment, CellAlignment::Centre);
    EXPECT_EQ(style.fontName, QStringLiteral("Tahoma"));
    EXPECT_EQ(style.fontStyle, FontStyles {});
    EXPECT_EQ(style.fontSize, 8);
    EXPECT_EQ(style.fontCharset, 0);
    EXPECT_EQ(style.fontColour, (RgbColour {1, 2, 3}));
    for (const CellBorder& border : style.borders)
        EXPECT_EQ(border, (CellBorder {1, {4, 5, 6}}));
    EXPECT_EQ(style.background, (RgbColour {7, 8, 9}));
}

TEST_F(DefaultColours, LaterPaletteChangesDoNotReachTheDefaultStyle)
{
    const CellStyle before = DefaultCellStyle();
    QPalette changed = TestEnvironment::palette();
    changed.setColor(QPalette::Base, QColor(0, 0, 0));
    QGuiApplication::setPalette(changed);
    const CellStyle after = DefaultCellStyle();
    QGuiApplication::setPalette(TestEnvironment::palette());
    EXPECT_EQ(after, before);
    EXPECT_EQ(after.background, (RgbColour {255, 255, 255}));
}

// Each change touches one field; a comparison that forgets a field lets two
// different looks share a class.
TEST_F(DefaultColours, StylesDifferingInAnyOneFieldGetTheirOwnNumbers)
{
    const std::vector<std::function<void(CellStyle&)>> changes {
        [](CellStyle& s) { s.alignment = CellAlignment::Left; },
        [](CellStyle& s) { s.alignment = CellAlignment::Right; },
        [](CellStyle& s) { s.fontName = QStringLiteral("tahoma"); },
        [](CellStyle& s) { s.fontStyle.bold = true; },
        [](CellStyle& s) { s.fontStyle.italic = true; },
        [](CellStyle& s) { s.fontStyle.underline = true; },
        [](CellStyle& s) { s.fontStyle.strikeOut = true; },
        [](CellStyle& s) { s.fontColour.red = 1; },
        [](CellStyle& s) { s.fontColour.green = 1; },
        [](CellStyle& s) { s.fontColour.blue = 1; },
        [](CellStyle& s) { s.fontSize = 9; },
        [](CellStyle& s) { s.fontCharset = 1; },
        [](CellStyle& s) { s.border(BorderSide::Left).width = 0; },
        [](CellStyle& s) { s.border(BorderSide::Top).width = 0; },
        [](CellStyle& s) { s.border(BorderSide::Right).width = 0; },
        [](CellStyle& s) { s.border(BorderSide::Bottom).width = 0; },
        [](CellStyle& s) { s.border(BorderSide::Left).colour.red = 0; },
        [](CellStyle& s) { s.border(BorderSide::Top).colour.green = 0; },
        [](CellStyle& s) { s.border(BorderSide::Right).colour.blue = 0; },
        [](CellStyle& s) { s.border(BorderSide::Bottom).colour.red = 0; },
        [](CellStyle& s) { s.background.green = 0; },
    };
    StyleRegistry registry;
    ASSERT_EQ(registry.registerStyle(DefaultCellStyle()), 0);
    for (std::size_t i = 0; i < changes.size(); ++i) {
        CellStyle style = DefaultCellStyle();
        changes[i](style);
        EXPECT_NE(style, DefaultCellStyle()) << "change " << i;
        EXPECT_EQ(registry.registerStyle(style), int(i + 1)) << "change " << i;
    }
    // Registering any of them again finds it.
    for (std::size_t i = 0; i < changes.size(); ++i) {
        CellStyle style = DefaultCellStyle();
        changes[i](style);
        EXPECT_EQ(registry.registerStyle(style), int(i + 1)) << "change " << i;
    }
    EXPECT_EQ(registry.count(), int(changes.size() + 1));
}

TEST_F(DefaultColours, RegistryNumbersFollowTheOrderOfFirstRegistration)
{
    CellStyle left = DefaultCellStyle();
    left.alignment = CellAlignment::Left;
    CellStyle bold = DefaultCellStyle();
    bold.fontStyle.bold = true;

    StyleRegistry registry;
    EXPECT_EQ(registry.registerStyle(bold), 0);
    EXPECT_EQ(registry.registerStyle(left), 1);
    EXPECT_EQ(registry.registerStyle(bold), 0);
    EXPECT_EQ(registry.registerStyle(DefaultCellStyle()), 2);
    EXPECT_EQ(registry.registerStyle(left), 1);
    EXPECT_EQ(registry.count(), 3);
    EXPECT_EQ(registry.style(0), bold);
    EXPECT_EQ(registry.style(1), left);
    EXPECT_EQ(registry.style(-1), DefaultCellStyle());
    EXPECT_THROW(registry.style(3), std::out_of_range);
    EXPECT_THROW(registry.style(-2), std::out_of_range);
}
