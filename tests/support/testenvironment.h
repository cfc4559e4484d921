#pragma once

#include <QByteArray>
#include <QPalette>
#include <QString>

// The fixed surroundings of every test: offscreen platform, Italian regional
// settings, a pinned palette and fonts, test-mode standard paths.
namespace TestEnvironment {

// Called once by each test program, after the application object exists.
void pin();

// The palette every test runs with, whatever the desktop.
QPalette palette();

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
QString testDataPath(const QString& name);

} // namespace TestEnvironment
