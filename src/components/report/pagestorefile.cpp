#include "pagestorefile.h"

#include "atomicfile.h"
#include "error.h"
#include "pagestore.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QtEndian>

namespace PageStoreFile {

namespace {

constexpr char magic[8] = {'T', 'O', 'M', 'R', 'P', 'A', 'G', 'E'};
constexpr qsizetype headerSize = 8 + 4 + 4 + 8 + 16;
constexpr auto streamVersion = QDataStream::Qt_6_4;

QByteArray digest(QByteArrayView payload)
{
    return QCryptographicHash::hash(payload, QCryptographicHash::Md5);
}

Error damaged(const QString& fileName)
{
    return Error(QStringLiteral("%1 is damaged: its report pages cannot be read.").arg(fileName));
}

void writeStyle(QDataStream& out, const ElementStyle& style)
{
    out << style.name << quint8(style.kind) << style.font.family() << style.font.pointSizeF()
        << style.font.bold() << style.font.italic() << style.font.underline()
        << quint32(style.colour.rgba()) << quint8(style.alignment) << style.opaque
        << qint32(style.lineWidth) << style.lineHeight << style.ascent;
}

bool readStyle(QDataStream& in, ElementStyle& style)
{
    quint8 kind = 0;
    QString family;
    double pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    quint32 rgba = 0;
    quint8 alignment = 0;
    qint32 lineWidth = 0;
    in >> style.name >> kind >> family >> pointSize >> bold >> italic >> underline >> rgba
        >> alignment >> style.opaque >> lineWidth >> style.lineHeight >> style.ascent;
    if (in.status() != QDataStream::Ok || kind > quint8(ElementKind::Line)
        || alignment > quint8(ReportAlignment::Right) || !(pointSize > 0 && pointSize < 1000)
        || lineWidth < 0 || lineWidth > 1000)
        return false;
    style.kind = ElementKind(kind);
    style.alignment = ReportAlignment(alignment);
    style.lineWidth = lineWidth;
    style.colour = QColor::fromRgba(rgba);
    ReportFont font;
    font.family = family;
    font.pointSize = pointSize;
    font.bold = bold;
    font.italic = italic;
    font.underline = underline;
    style.font = style.kind == ElementKind::Text ? font.toQFont() : QFont();
    return true;
}

} // namespace

QByteArray toBytes(const PageStore& pages)
{
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(streamVersion);
        out.setByteOrder(QDataStream::LittleEndian);
        out << qint32(pages.paperWidth()) << qint32(pages.paperLength());
        out << quint32(pages.styles().size());
        for (const ElementStyle& style : pages.styles())
            writeStyle(out, style);
        out << quint32(pages.pageCount());
        for (int page = 0; page < pages.pageCount(); ++page)
            out << pages.encodedPage(page);
    }
    QByteArray bytes;
    bytes.reserve(headerSize + payload.size());
    bytes.append(magic, sizeof magic);
    char field[8];
    qToLittleEndian<quint32>(currentVersion, field);
    bytes.append(field, 4);
    qToLittleEndian<quint32>(0, field);
    bytes.append(field, 4);
    qToLittleEndian<quint64>(quint64(payload.size()), field);
    bytes.append(field, 8);
    bytes.append(digest(payload));
    bytes.append(payload);
    return bytes;
}

void fromBytes(QByteArrayView bytes, PageStore& pages, const QString& fileName)
{
    if (bytes.size() < qsizetype(sizeof magic)
        || !bytes.startsWith(QByteArrayView(magic, sizeof magic)))
        throw Error(QStringLiteral("%1 is not a file of saved report pages.").arg(fileName));
    if (bytes.size() < headerSize)
        throw damaged(fileName);
    const quint32 version = qFromLittleEndian<quint32>(bytes.data() + 8);
    if (version != currentVersion)
        throw Error(QStringLiteral("%1 holds report pages of version %2, which this program "
                                   "cannot read (it reads version %3).")
                        .arg(fileName)
                        .arg(version)
                        .arg(currentVersion));
    const quint64 length = qFromLittleEndian<quint64>(bytes.data() + 16);
    const QByteArrayView payload = bytes.sliced(headerSize);
    if (length != quint64(payload.size()) || digest(payload) != bytes.sliced(24, 16))
        throw damaged(fileName);

    const QByteArray data = payload.toByteArray();
    QDataStream in(data);
    in.setVersion(streamVersion);
    in.setByteOrder(QDataStream::LittleEndian);
    PageStore loaded;
    qint32 width = 0;
    qint32 length32 = 0;
    quint32 styleCount = 0;
    in >> width >> length32 >> styleCount;
    if (in.status() != QDataStream::Ok || width <= 0 || length32 <= 0 || styleCount > 0xFFFF)
        throw damaged(fileName);
    loaded.setPaperSize(width, length32);
    for (quint32 i = 0; i < styleCount; ++i) {
        ElementStyle style;
        if (!readStyle(in, style))
            throw damaged(fileName);
        loaded.addStyle(style);
    }
    quint32 pageCount = 0;
    in >> pageCount;
    if (in.status() != QDataStream::Ok)
        throw damaged(fileName);
    for (quint32 i = 0; i < pageCount; ++i) {
        QByteArray page;
        in >> page;
        if (in.status() != QDataStream::Ok || !loaded.addEncodedPage(std::move(page)))
            throw damaged(fileName);
    }
    if (!in.atEnd())
        throw damaged(fileName);
    pages = std::move(loaded);
}

void save(const PageStore& pages, const QString& path)
{
    writeFileAtomically(path, toBytes(pages));
}

void load(const QString& path, PageStore& pages)
{
    QFile file(path);
    if (!file.exists())
        throw Error(QStringLiteral("File does not exist"));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open file \"%1\". %2.")
                        .arg(QDir::toNativeSeparators(path), systemErrorText(file.errorString())));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Cannot read file \"%1\". %2.")
                        .arg(QDir::toNativeSeparators(path), systemErrorText(file.errorString())));
    fromBytes(bytes, pages, QDir::toNativeSeparators(path));
}

} // namespace PageStoreFile
