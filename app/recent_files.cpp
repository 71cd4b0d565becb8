#include "recent_files.h"

#include <QDir>
#include <QFileInfo>

#include "user_settings.h"

namespace recent_files {

namespace {

const QString Key = QStringLiteral("RecentFiles");

void Save(const QStringList& files)
{
    user_settings::Write(Key, files);
}

}  // namespace

QStringList Load()
{
    return user_settings::Read(Key).toStringList().mid(0, MaxCount);
}

void Add(const QString& path)
{
    // As the system spells it: the menu shows it.
    const QString file = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
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
