#pragma once

#include <QByteArray>
#include <QPalette>
#include <QString>

#include <functional>

class QWidget;

// The fixed surroundings of every test: offscreen platform, Italian regional
// settings, a pinned palette and fonts, test-mode standard paths.
namespace TestEnvironment {

// Called once by each test program, after the application object exists.
void pin();

// The palette every test runs with, whatever the desktop.
QPalette palette();

// Runs action while the process may write no file larger than bytes: a
// write beyond that fails part-way, as on a full disk.
void withFileSizeLimit(qint64 bytes, const std::function<void()>& action);

// Runs action on the next modal window or popup that opens (a message box, a
// dialog, a menu), once the event loop shows it.
void onNextModal(std::function<void(QWidget*)> action);

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
QString testDataPath(const QString& name);

} // namespace TestEnvironment
