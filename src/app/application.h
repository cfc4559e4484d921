#pragma once

#include <QApplication>
#include <QString>

// The application object. An error that escapes any event handler reaches
// notify(), which shows it in the error box and lets the program go on.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The executable's file name up to its first full stop, its first letter
    // unchanged and the rest in lower case.
    static QString titleFor(const QString& executablePath);
    static QString title();

    // The error box: the message with the full stop rule, an error icon, an
    // OK button, the application's title as caption.
    static void showErrorBox(const QString& message);
    // A plain message box: the text, an OK button, no icon, the title.
    static void showMessage(const QString& text);
};
