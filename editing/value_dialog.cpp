#include "value_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "glow_edit.h"
#include "glow_fields.h"
#include "glyphs.h"
#include "open_document.h"

namespace {

// The dialog's title for each value, as the glow panel's items name them.
const char* const Titles[] = {"Core Color", "Outer Color", "Center Point", "Main Vector",
                              "Denisty 0",  "Denisty 1",   "Denisty 2"};

}  // namespace

TValueDialog::TValueDialog(QWidget* parent, TOpenDocument& document) : QDialog(parent), Document(document)
{
    setWindowTitle(QStringLiteral("EDIT"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    TitleLabel = new QLabel(this);
    TitleLabel->setFixedHeight(20);
    layout->addWidget(TitleLabel);

    Grid = new TValueGrid(this);
    connect(Grid, &TValueGrid::Edited, this, &TValueDialog::UpdatePreview);
    layout->addWidget(Grid);

    ButtonArea = new QWidget(this);
    layout->addWidget(ButtonArea, 1);
    BuildButtons();
    HideButtons();

    resize(336, 147);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    connect(&Document.History, &TGlowHistory::Changed, this, &TValueDialog::FollowChange);
}

void TValueDialog::BuildButtons()
{
    const auto button = [this](const char* caption, int left, const char* hint, const QIcon& icon,
                               void (TValueDialog::*handler)()) {
        auto* b = new QPushButton(QString::fromLatin1(caption), ButtonArea);
        b->setGeometry(left, 15, 75, 25);
        b->setToolTip(QString::fromLatin1(hint));
        b->setIcon(icon);
        b->setIconSize(QSize(16, 16));
        // Return belongs to the grid's in-place editor, not to a button.
        b->setAutoDefault(false);
        b->setDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    StoreButton = button("Man Ok", 10, "Make change sin Boxes then click to confirm", glyphs::Confirm(), &TValueDialog::StoreTyped);
    CenterButton = button("Center", 90, "centers POint in selected Face", glyphs::Retry(), &TValueDialog::CenterClicked);
    ColorButton = button("Color", 170, "Set Alpha then click to change color", glyphs::AcceptAll(), &TValueDialog::ColorClicked);
    CloseButton = button("&Close", 250, "Hides this window", glyphs::Hide(), &TValueDialog::CloseClicked);
}

void TValueDialog::setVisible(bool visible)
{
    // Asked before hiding: the window system takes the keyboard away later.
    const bool releasing = !visible && isVisible() && isActiveWindow();
    QDialog::setVisible(visible);
    // However it closes (Close, Escape, its title bar, the panel moving on),
    // the view shows again what the file holds.
    if (!visible && DropPreview())
        emit PreviewChanged();
    if (releasing)
        emit KeyboardReleased();
}

void TValueDialog::Open(std::vector<TGlowIndex> glows, TGlowValue value)
{
    // Read before anything changes: a glow the model does not hold throws.
    const TEngineGlow shown = glows.empty() ? TEngineGlow{} : Document.GlowAt(glows.front());
    CloseUnwritten();
    Mark.reset();
    Glows = std::move(glows);
    if (Glows.empty())
        return;
    Value = value;
    show();
    raise();
    activateWindow();
    TitleLabel->setText(QString::fromLatin1(Titles[size_t(value)]));
    const edit_list::GlowField& field = FieldOf(value);
    if (field.Color) {
        Grid->ShowHeader({"Alpha", "Red", "Green", "Blue"});
        Grid->ShowColor(shown.*field.Color);
        ColorButton->show();
        return;
    }
    Grid->ShowHeader({"X width", "Y height", "Z length", "Not Used"});
    const TFloat3& numbers = shown.*field.Vector;
    Grid->ShowNumbers({numbers.X, numbers.Y, numbers.Z});
    Mark = value;
    StoreButton->show();
    if (value == TGlowValue::Center)
        CenterButton->show();
}

TGlowIndex TValueDialog::Glow() const
{
    return Glows.empty() ? TGlowIndex{} : Glows.front();
}

bool TValueDialog::Pending(TGlowValue value) const
{
    return Mark == value;
}

void TValueDialog::FollowSelection()
{
    if (isVisible() && Glows == EditedGlows(Document))
        return;
    if (isVisible())
        Dismiss();
    Mark.reset();
}

void TValueDialog::HideButtons()
{
    ColorButton->hide();
    CenterButton->hide();
    StoreButton->hide();
}

void TValueDialog::CloseUnwritten()
{
    // The redraw asked for shows the stored glow.
    DropPreview();
    Dismiss();
    emit RedrawRequested();
}

void TValueDialog::Dismiss()
{
    Grid->ForgetShown();
    HideButtons();
    hide();
}

void TValueDialog::ForgetModel()
{
    // The model goes: nothing of it is drawn again.
    DropPreview();
    Grid->ForgetShown();
    hide();
    Glows.clear();
}

void TValueDialog::FollowChange(const TGlowEdit& written)
{
    if (OwnWrite || !isVisible())
        return;
    if (std::none_of(written.Changes.begin(), written.Changes.end(), [&](const TGlowChange& c) {
            return std::find(Glows.begin(), Glows.end(), c.At) != Glows.end();
        }))
        return;
    // Left open it would show and write values from before the change. The
    // frame that shows the change follows (the history's listeners after
    // this one draw it): the preview goes without a frame of its own.
    DropPreview();
    Dismiss();
    Mark.reset();
}

void TValueDialog::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (!enter || mods != Qt::NoModifier || Grid->EditingCell()) {
        QDialog::keyPressEvent(event);
        return;
    }
    for (QPushButton* main : {StoreButton, ColorButton})
        if (main->isVisible()) {
            main->click();
            return;
        }
}

QString TValueDialog::Cell(int col, int row)
{
    return Grid->Cell(col, row);
}

void TValueDialog::SetCell(int col, int row, const QString& text)
{
    Grid->SetCell(col, row, text);
}
