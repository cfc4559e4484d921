#include "application.h"

#include "error.h"
#include "platformfonts.h"

#include <QFileInfo>
#include <QMessageBox>

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("TOMARIO"));
    setApplicationVersion(QStringLiteral("1.0.0.0"));
    installFontSubstitutions();
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& error) {
        showErrorBox(error.message());
    } catch (const std::exception& error) {
        showErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

QString Application::titleFor(const QString& executablePath)
{
    const QString name = QFileInfo(executablePath).fileName();
    const QString stem = name.left(name.indexOf(u'.'));
    if (stem.isEmpty())
        return stem;
    return stem.left(1) + stem.mid(1).toLower();
}

QString Application::title()
{
    return titleFor(applicationFilePath());
}

void Application::showErrorBox(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, title(), withFullStop(message), QMessageBox::Ok);
    box.exec();
}

void Application::showMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok);
    box.exec();
}
