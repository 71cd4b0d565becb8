#include "recent_files.h"

#include <QDir>
#include <QFileInfo>

#include "path_names.h"
#include "user_settings.h"

namespace recent_files {

namespace {

const QString Key = QStringLiteral("RecentFiles");

void Save(const QStringList& files)
{
    // A name that is no text (its bytes are not UTF-8) is kept as its bytes:
    // the settings file would keep only a changed name.
    QVariantList entries;
    bool bytes = false;
    for (const QString& file : files) {
        const std::string name = PathBytes(file);
        const bool text = QString::fromStdString(name) == file;
        entries << (text ? QVariant(file) : QVariant(QByteArray::fromStdString(name)));
        bytes = bytes || !text;
    }
    user_settings::Write(Key, bytes ? QVariant(entries) : QVariant(files));
}

}  // namespace

QStringList Load()
{
    // The settings give a list of strings back as such, one that holds bytes
    // as a list of values, and a list of one as that one value.
    const QVariant stored = user_settings::Read(Key);
    const auto entry = [](const QVariant& value) {
        return value.typeId() == QMetaType::QByteArray ? PathText(value.toByteArray().toStdString()) : value.toString();
    };
    QStringList files;
    if (stored.typeId() == QMetaType::QVariantList) {
        for (const QVariant& value : stored.toList())
            files << entry(value);
    } else if (stored.typeId() == QMetaType::QByteArray) {
        files << entry(stored);
    } else {
        files = stored.toStringList();
    }
    return files.mid(0, MaxCount);
}

void Add(const QString& path)
{
    // As the system spells it: the menu shows it. A relative name is made
    // absolute as text: QFileInfo would decode the folder and lose a name
    // that is not UTF-8.
    const QString absolute = QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path);
    const QString file = QDir::toNativeSeparators(QFileInfo(absolute).absoluteFilePath());
    QStringList files = Load();
    files.removeAll(file);
    files.prepend(file);
    Save(files.mid(0, MaxCount));
}

void Remove(const QString& path)
{
    QStringList files = Load();
    files.removeAll(path);
    Save(files);
}

}  // namespace recent_files
