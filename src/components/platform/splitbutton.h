#pragma once

#include <QPushButton>

class QMenu;

// A button whose rightmost part carries a drop-down arrow and opens a menu
// centred under the button; the arrow opens it from the keyboard too, with
// Alt or Shift and the Up or Down arrow. The rest of the button is a plain
// push button.
class SplitButton : public QPushButton
{
    Q_OBJECT

public:
    static constexpr int arrowWidth = 15;

    explicit SplitButton(const QString& text, QWidget* parent = nullptr);

    void setDropDownMenu(QMenu* menu) { m_menu = menu; }
    QMenu* dropDownMenu() const { return m_menu; }
    QRect arrowRect() const;
    // Where the menu opens: centred under the button.
    QPoint dropDownPosition() const;
    void showDropDown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QMenu* m_menu = nullptr;
};
