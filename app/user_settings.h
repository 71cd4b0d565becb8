#pragma once
// The user's settings of the editor (the registry on Windows): read and
// written only when their files can be opened without waiting.

#include <QString>
#include <QVariant>

namespace user_settings {

// Display > Glow Colors, kept from one start to the next.
inline const QString GlowColorsKey = QStringLiteral("GlowColors");

// The value kept under key; invalid when there is none or the settings
// cannot be opened.
QVariant Read(const QString& key);
// Keeps value under key; nothing happens when the settings cannot be opened.
void Write(const QString& key, const QVariant& value);

}  // namespace user_settings
