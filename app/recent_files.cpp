#include "recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "file_util.h"

namespace recent_files {

namespace {

const QString Key = QStringLiteral("RecentFiles");
const QString Name = QStringLiteral("NEG");

// Whether the user's settings files of the editor are files that can be
// opened without waiting: QSettings opens them as it is made, and a named
// pipe there would hold start-up for ever. Their place comes from settings of
// a name no program uses, which find only missing files (Qt tells no folder
// without opening the files); the registry on Windows has no such places.
bool SettingsCanBeOpened()
{
    const QString unused = QStringLiteral(".neg-unused");
    const QFileInfo probe(QSettings(QSettings::defaultFormat(), QSettings::UserScope, unused, unused).fileName());
    const QDir folder(QFileInfo(probe.absolutePath()).absolutePath());
    const QString suffix = probe.suffix().isEmpty() ? QString() : '.' + probe.suffix();
    // The editor's own file and the one Qt reads for its organisation too.
    for (const QString& file : {Name + '/' + Name + suffix, Name + suffix}) {
        const TFileKind kind = KindOf(folder.absoluteFilePath(file).toStdString(), TLinks::Follow);
        if (kind != TFileKind::Missing && kind != TFileKind::Regular)
            return false;
    }
    return true;
}

// Runs use on the user's settings of the editor; without them (see above)
// the result is what use gives for none.
template <typename F>
auto WithSettings(F use)
{
    if (!SettingsCanBeOpened())
        return use(nullptr);
    // The default format is the platform's own (the registry on Windows) unless
    // a test moves it aside.
    QSettings settings(QSettings::defaultFormat(), QSettings::UserScope, Name, Name);
    return use(&settings);
}

void Save(const QStringList& files)
{
    WithSettings([&](QSettings* s) {
        if (s)
            s->setValue(Key, files);
    });
}

}  // namespace

QStringList Load()
{
    return WithSettings([](QSettings* s) { return s ? s->value(Key).toStringList().mid(0, MaxCount) : QStringList(); });
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
