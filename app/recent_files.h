#pragma once
// The originals opened last, most recent first, kept in the user's settings.

#include <QStringList>

namespace recent_files {

inline constexpr int MaxCount = 8;

// The list as the settings hold it.
QStringList Load();
// Puts path (made absolute) at the front; an earlier entry of it goes, and
// the oldest beyond MaxCount.
void Add(const QString& path);
void Remove(const QString& path);

}  // namespace recent_files
