#include "color_settings.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <utility>

#include "dialog_seam.h"
#include "error_display.h"
#include "view_colors.h"

namespace {

const char* const EntryTexts[ViewColorCount] = {"Mesh Lines", "Selected", "Point",   "X Vector",
                                                "Y Vector",   "Z Vector", "Cone"};

uint32_t ScreenColorOf(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return uint32_t(rgb.red()) | uint32_t(rgb.green()) << 8 | uint32_t(rgb.blue()) << 16;
}

// A table's colour as the preview shows it.
QColor ScreenColor(const TColorF& color)
{
    const uint32_t screen = ColorFToScreen(color);
    return QColor(int(screen & 255), int(screen >> 8 & 255), int(screen >> 16 & 255));
}

}  // namespace

TColorSettings::TColorSettings(std::string dataDir, TColorTable& colors, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      DataDir(std::move(dataDir)),
      Colors(colors)
{
    setWindowTitle("Set Colors");
    setFixedSize(348, 228);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    EntryList = new QListWidget(this);
    EntryList->setGeometry(0, 0, 146, 187);
    EntryList->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const char* text : EntryTexts)
        EntryList->addItem(text);
    connect(EntryList, &QListWidget::itemClicked, this, [this] { Guarded([&] { ShowSelectedEntry(); }); });
    connect(EntryList, &QListWidget::itemSelectionChanged, this, [this] { Guarded([&] { ShowSelectedEntry(); }); });
    // A double click anywhere in the list counts, also where no item is.
    EntryList->viewport()->installEventFilter(this);

    Preview = new QWidget(this);
    Preview->setGeometry(146, 0, 202, 187);
    Preview->setAutoFillBackground(true);

    ButtonArea = new QWidget(this);
    ButtonArea->setGeometry(0, 187, 348, 41);
    HintLabel = new QLabel("Click to view color , double click to set", ButtonArea);
    HintLabel->setGeometry(0, 5, 136, 36);
    HintLabel->setWordWrap(true);
    HintLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    OkButton = new QPushButton("OK", ButtonArea);
    OkButton->setGeometry(175, 15, 75, 25);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    CancelButton = new QPushButton("Cancel", ButtonArea);
    CancelButton->setGeometry(265, 15, 75, 25);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects too
}

bool TColorSettings::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (watched != EntryList->viewport() || !(press || event->type() == QEvent::MouseButtonDblClick))
        return QDialog::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (!press && mouse->button() == Qt::LeftButton) {
        Guarded([&] { ChooseEntryColor(); });
        return true;
    }
    // A click on blank space, or with Ctrl on the selected entry, keeps the
    // selection, as a list box does; the view would clear it, and a double
    // click would then set no entry.
    if (press) {
        const QModelIndex at = EntryList->indexAt(mouse->position().toPoint());
        if (!at.isValid() || (mouse->modifiers().testFlag(Qt::ControlModifier) && EntryList->selectionModel()->isSelected(at)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

int TColorSettings::EntryInHand() const
{
    for (int i = 0; i < EntryList->count(); ++i)
        if (EntryList->item(i)->isSelected())
            return i;
    return ViewColorCount;
}

void TColorSettings::ShowSelectedEntry()
{
    const int entry = EntryInHand();
    if (entry < ViewColorCount)
        ShowEntryColor(entry);
}

void TColorSettings::ChooseEntryColor()
{
    const int entry = EntryInHand();
    // On the entry's own colour, so that accepting it unchanged keeps it.
    const QColor initial = entry < ViewColorCount ? ScreenColor(Colors[entry]) : LastChosen;
    const std::optional<QColor> chosen = Dialogs().ChooseColor(this, initial, {});
    if (!chosen)
        return;
    LastChosen = *chosen;
    if (entry < ViewColorCount) {
        SetEntryColor(ScreenColorOf(*chosen), entry);
        ShowEntryColor(entry);
    }
    WriteColorFile(DataDir, Colors);
}

void TColorSettings::SetEntryColor(uint32_t colour, int entry)
{
    Colors[entry] = ScreenToColorF(colour);
}

void TColorSettings::ShowEntryColor(int entry)
{
    QPalette palette = Preview->palette();
    palette.setColor(QPalette::Window, ScreenColor(Colors[entry]));
    Preview->setPalette(palette);
}
