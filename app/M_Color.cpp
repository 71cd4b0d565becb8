#include "M_Color.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include "dialog_seam.h"
#include "error_display.h"
#include "view_colors.h"

TCol* Col = nullptr;

namespace {

const char* const EntryTexts[ViewColorCount] = {"Mesh Lines", "Selected", "Point",   "X Vector",
                                                "Y Vector",   "Z Vector", "Cone"};

uint32_t ScreenColorOf(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return uint32_t(rgb.red()) | uint32_t(rgb.green()) << 8 | uint32_t(rgb.blue()) << 16;
}

// The colour of ViewColors[entry] as the preview shows it.
QColor EntryColor(int entry)
{
    const uint32_t screen = ColorFToScreen(ViewColors[entry]);
    return QColor(int(screen & 255), int(screen >> 8 & 255), int(screen >> 16 & 255));
}

}  // namespace

TCol::TCol(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    Col = this;
    setWindowTitle("Set Colors");
    setFixedSize(348, 228);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    LB = new QListWidget(this);
    LB->setGeometry(0, 0, 146, 187);
    LB->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const char* text : EntryTexts)
        LB->addItem(text);
    connect(LB, &QListWidget::itemClicked, this, [this] { Guarded([&] { LBClick(); }); });
    connect(LB, &QListWidget::itemSelectionChanged, this, [this] { Guarded([&] { LBClick(); }); });
    // A double click anywhere in the list counts, also where no item is.
    LB->viewport()->installEventFilter(this);

    CPC = new QWidget(this);
    CPC->setGeometry(146, 0, 202, 187);
    CPC->setAutoFillBackground(true);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(0, 187, 348, 41);
    Label1 = new QLabel("Click to view color , double click to set", Panel1);
    Label1->setGeometry(0, 5, 136, 36);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    BitBtn1 = new QPushButton("OK", Panel1);
    BitBtn1->setGeometry(175, 15, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    BitBtn2 = new QPushButton("Cancel", Panel1);
    BitBtn2->setGeometry(265, 15, 75, 25);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects too
}

bool TCol::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (watched != LB->viewport() || !(press || event->type() == QEvent::MouseButtonDblClick))
        return QDialog::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (!press && mouse->button() == Qt::LeftButton) {
        Guarded([&] { LBDblClick(); });
        return true;
    }
    // A click on blank space, or with Ctrl on the selected entry, keeps the
    // selection, as a list box does; the view would clear it, and a double
    // click would then set no entry.
    if (press) {
        const QModelIndex at = LB->indexAt(mouse->position().toPoint());
        if (!at.isValid() || (mouse->modifiers().testFlag(Qt::ControlModifier) && LB->selectionModel()->isSelected(at)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

int TCol::EntryInHand() const
{
    for (int i = 0; i < LB->count(); ++i)
        if (LB->item(i)->isSelected())
            return i;
    return ViewColorCount;
}

void TCol::LBClick()
{
    const int entry = EntryInHand();
    if (entry < ViewColorCount)
        DisplayColor(entry);
}

void TCol::LBDblClick()
{
    const int entry = EntryInHand();
    // On the entry's own colour, so that accepting it unchanged keeps it.
    const QColor initial = entry < ViewColorCount ? EntryColor(entry) : CDColor;
    const std::optional<QColor> chosen = Dialogs().ChooseColor(this, initial, {});
    if (!chosen)
        return;
    CDColor = *chosen;
    if (entry < ViewColorCount) {
        SetAColor(ScreenColorOf(*chosen), entry);
        DisplayColor(entry);
    }
    WriteColorFile();
}

void TCol::SetAColor(uint32_t colour, int entry)
{
    ViewColors[entry] = ScreenToColorF(colour);
}

void TCol::DisplayColor(int entry)
{
    QPalette palette = CPC->palette();
    palette.setColor(QPalette::Window, EntryColor(entry));
    CPC->setPalette(palette);
}
