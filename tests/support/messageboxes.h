#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>

// Message boxes met by the window tests, which read and close them.
namespace MessageBoxes {

struct SeenBox
{
    bool shown = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    int buttons = 0;
};

// Runs action as soon as ready() holds, letting events run meanwhile; after a
// few seconds it runs it anyway, so that a failing test cannot hang.
void whenReady(std::function<bool()> ready, std::function<void()> action);

// Reads and closes (with OK) the next message box that opens, as long as the
// caller keeps the result.
std::shared_ptr<SeenBox> closeNext();

} // namespace MessageBoxes
