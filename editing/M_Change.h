#pragma once
// The value edit dialog "EDIT": changes one value of the glow DialogGlow and
// writes the glow into the working copy when it closes through a button.

#include <QDialog>

class TMCh : public QDialog {
    Q_OBJECT
public:
    explicit TMCh(QWidget* parent = nullptr);

    // Writes DialogGlow into the working copy.
    void WriteFile();
    // Write, refresh the panel, hide the buttons and the dialog, redraw.
    void HideAll();
    // Hide the buttons and the dialog, redraw; nothing is written.
    void HideMost();
    // Another model is being opened: hide the dialog and drop DialogGlow so
    // nothing is stored into or written from a glow of the previous model.
    void ForgetModel();
};

// The one edit dialog; created after the glow panel.
extern TMCh* MCh;
