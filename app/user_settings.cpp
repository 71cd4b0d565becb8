#include "user_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "file_util.h"

namespace user_settings {

namespace {

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

}  // namespace

QVariant Read(const QString& key)
{
    return WithSettings([&](QSettings* s) { return s ? s->value(key) : QVariant(); });
}

void Write(const QString& key, const QVariant& value)
{
    WithSettings([&](QSettings* s) {
        if (s)
            s->setValue(key, value);
    });
}

}  // namespace user_settings
