#include "testenvironment.h"

#include "qtprinters.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTimer>

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

namespace TestEnvironment {

QPalette palette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(240, 240, 240));
    p.setColor(QPalette::WindowText, QColor(0, 0, 0));
    p.setColor(QPalette::Base, QColor(255, 255, 255));
    p.setColor(QPalette::Text, QColor(0, 0, 0));
    p.setColor(QPalette::Button, QColor(240, 240, 240));
    p.setColor(QPalette::ButtonText, QColor(0, 0, 0));
    p.setColor(QPalette::Dark, QColor(160, 160, 160));
    p.setColor(QPalette::Midlight, QColor(227, 227, 227));
    p.setColor(QPalette::Light, QColor(255, 255, 255));
    p.setColor(QPalette::Mid, QColor(200, 200, 200));
    p.setColor(QPalette::Shadow, QColor(105, 105, 105));
    p.setColor(QPalette::Highlight, QColor(0, 120, 215));
    p.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    p.setColor(QPalette::ToolTipText, QColor(0, 0, 0));
    return p;
}

void pin()
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QStandardPaths::setTestModeEnabled(true);
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(palette());
    }
}

void withFileSizeLimit(qint64 bytes, const std::function<void()>& action)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = rlim_t(bytes);
    if (setrlimit(RLIMIT_FSIZE, &limited) != 0)
        throw std::runtime_error("cannot limit the file size");
    try {
        action();
    } catch (...) {
        setrlimit(RLIMIT_FSIZE, &old);
        throw;
    }
    setrlimit(RLIMIT_FSIZE, &old);
}

void onNextModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            modal = QApplication::activePopupWidget();
        if (!modal)
            return onNextModal(action);
        action(modal);
    });
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString testDataPath(const QString& name)
{
    return QStringLiteral(TOMARIO_TEST_DATA_DIR "/") + name;
}

} // namespace TestEnvironment

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            *out << c;
        } else {
            const char* hex = "0123456789ABCDEF";
            *out << "\\x" << hex[byte >> 4] << hex[byte & 15];
        }
    }
    *out << '"';
}
