#pragma once
// What leaves the editor at the user's word: the working copy exported, the
// view's picture saved or copied, the working copies' folder shown. Each
// returns what the status bar says once it is done, nothing when the user
// cancelled or a message box said why not; each throws what its writes
// throw.

#include <QString>

class QImage;
class QWidget;
struct TOpenModel;

namespace files_out {

// File > Export Working Copy...: a copy of open's working copy where the
// user chooses; the save dialog starts at chosenFile, the model the copy was
// made from (empty before any was opened).
QString ExportWorkingCopy(QWidget* parent, const TOpenModel& open, const QString& chosenFile);
// File > Export Picture...: picture saved as a PNG file, whole or not at
// all, where the user chooses (beside chosenFile at first).
QString ExportPicture(QWidget* parent, const TOpenModel& open, const QString& chosenFile, const QImage& picture);
// Edit > Copy Picture: picture onto the clipboard.
QString CopyPicture(const QImage& picture);
// File > Show Working Copy: the working copies' folder in the desktop's file
// manager.
void ShowWorkingCopy(const TOpenModel& open);

}  // namespace files_out
