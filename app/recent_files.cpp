#include "recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace recent_files {

namespace {

const QString Key = QStringLiteral("RecentFiles");

// Runs use on the user's settings of the editor.
template <typename F>
auto WithSettings(F use)
{
    // The default format is the platform's own (the registry on Windows) unless
    // a test moves it aside.
    QSettings settings(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("NEG"), QStringLiteral("NEG"));
    return use(settings);
}

void Save(const QStringList& files)
{
    WithSettings([&](QSettings& s) { s.setValue(Key, files); });
}

}  // namespace

QStringList Load()
{
    return WithSettings([](QSettings& s) { return s.value(Key).toStringList().mid(0, MaxCount); });
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
