#pragma once
// Help > Keys and Mouse: a window beside the main window that lists the key
// table (key_table.h). It never takes the keyboard, so the view keeps its
// keys while the list is open.

#include <QWidget>

class QMainWindow;
class QTextBrowser;

class TKeysWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of owner, which it stays above.
    explicit TKeysWindow(QWidget* owner);

    // Shows the window beside its owner's frame, on the side the screen has
    // room on, or raises it where it is when it is open already.
    void ShowBeside();

    QTextBrowser* List = nullptr;
};

// Adds the Help menu with Keys and Mouse to window's menu bar; the window is
// made at its first use.
void AddHelpMenu(QMainWindow& window);
