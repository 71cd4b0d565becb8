#include "value_dialog.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "conversions.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "face_centre.h"
#include "glow_edit.h"
#include "glyphs.h"
#include "messages.h"
#include "open_document.h"

// The grid's in-place editor: what is typed is shown in the view at once,
// and put back when the editing is given up.
class TTypingDelegate : public QStyledItemDelegate {
public:
    explicit TTypingDelegate(TValueDialog* dialog) : QStyledItemDelegate(dialog), Dialog(dialog)
    {
        connect(this, &QAbstractItemDelegate::closeEditor, dialog, [dialog] { dialog->UpdatePreview(); });
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            TValueDialog* dialog = Dialog;
            const int col = index.column();
            connect(line, &QLineEdit::textEdited, dialog,
                    [dialog, col](const QString& text) { dialog->UpdatePreview(col, text); });
        }
        return editor;
    }

private:
    TValueDialog* Dialog;
};

void TValueDialog::ApplyToPending(TEngineGlow& glow, const std::array<std::optional<float>, 3>& typed) const
{
    const std::pair<bool, TFloat3 TEngineGlow::*> targets[] = {
        {PendingPoint, &TEngineGlow::Center},       {PendingVector, &TEngineGlow::MainVec},
        {PendingDensity0, &TEngineGlow::Density0}, {PendingDensity1, &TEngineGlow::Density1},
        {PendingDensity2, &TEngineGlow::Density2},
    };
    for (const auto& [pending, member] : targets) {
        if (!pending)
            continue;
        float* values[3] = {&(glow.*member).X, &(glow.*member).Y, &(glow.*member).Z};
        for (int col = 0; col < 3; ++col)
            if (typed[size_t(col)])
                *values[col] = *typed[size_t(col)];
    }
}

void TValueDialog::ApplyToColor(TEngineGlow& glow, std::optional<uint32_t> rgb, std::optional<uint32_t> alpha) const
{
    uint32_t& word = Editing == CoreColor ? glow.CoreColor : glow.OuterColor;
    if (alpha)
        word = (word & 0x00FFFFFFu) | *alpha << 24;
    if (rgb)
        word = (word & 0xFF000000u) | *rgb;
}

bool TColorChooser::Execute(QWidget* parent, const std::function<void(const QColor&)>& browsing)
{
    const auto chosen = Dialogs().ChooseColor(parent, Color, browsing);
    if (!chosen)
        return false;
    Color = *chosen;
    return true;
}

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

    Grid = new QTableWidget(2, 4, this);
    Grid->setFixedHeight(55);
    Grid->horizontalHeader()->hide();
    Grid->verticalHeader()->hide();
    Grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid->setShowGrid(true);
    Grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // No SelectedClicked: its delayed start after a click on the current cell
    // drops the keys typed meanwhile. The first key typed starts editing.
    Grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                        QAbstractItemView::EditKeyPressed);
    for (int col = 0; col < 4; ++col) {
        Grid->setColumnWidth(col, 80);
        // Row 0 is the fixed header row: shown like a header, never edited.
        auto* header = new QTableWidgetItem;
        header->setFlags(Qt::ItemIsEnabled);
        header->setBackground(palette().button());
        header->setForeground(palette().buttonText());
        Grid->setItem(0, col, header);
        Grid->setItem(1, col, new QTableWidgetItem);
    }
    for (int row = 0; row < 2; ++row)
        Grid->setRowHeight(row, 25);
    Grid->setCurrentCell(1, 0);
    Grid->setItemDelegate(new TTypingDelegate(this));
    layout->addWidget(Grid);

    ButtonArea = new QWidget(this);
    layout->addWidget(ButtonArea, 1);
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
    ManOkButton = button("Man Ok", 10, "Make change sin Boxes then click to confirm", glyphs::Confirm(), &TValueDialog::ManOkClicked);
    CenterButton = button("Center", 90, "centers POint in selected Face", glyphs::Retry(), &TValueDialog::CenterClicked);
    ColorButton = button("Color", 170, "Set Alpha then click to change color", glyphs::AcceptAll(), &TValueDialog::ColorClicked);
    CloseButton = button("&Close", 250, "Hides this window", glyphs::Hide(), &TValueDialog::CloseClicked);
    HideButtons();

    resize(336, 147);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    connect(&Document.History, &TGlowHistory::Changed, this, &TValueDialog::FollowChange);
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

bool TValueDialog::DropPreview()
{
    if (!Previewing)
        return false;
    Previewing = false;
    if (Document.Preview.At == DialogGlow)
        Document.Preview = {};
    return true;
}

void TValueDialog::UpdatePreview(int typingCol, const QString& typingText)
{
    if (!DialogGlow || !isVisible())
        return;
    const auto text = [&](int col) { return col == typingCol ? typingText : Grid->item(1, col)->text(); };
    std::function<void(TEngineGlow&)> change;
    if (Editing == CoreColor || Editing == OuterColor) {
        // What Color would write: the alpha typed (one left as shown keeps
        // each glow's own), the colour the chooser opens on (red, green and
        // blue as typed) or is on.
        std::optional<uint32_t> alpha, rgb;
        try {
            const int32_t typed = TextInt(text(0).toStdString());
            if (text(0) != ShownAlpha && typed >= 0 && typed <= 255)
                alpha = uint32_t(typed);
        } catch (const EConvertError&) {
        }
        const TEngineGlow& shown = Document.GlowAt(DialogGlow);
        const uint32_t stored = (Editing == CoreColor ? shown.CoreColor : shown.OuterColor) & 0x00FFFFFFu;
        if (const uint32_t typed = TypedColor(stored, text) & 0x00FFFFFFu; typed != stored)
            rgb = typed;
        if (ChooserColor)
            rgb = uint32_t(ChooserColor->red()) << 16 | uint32_t(ChooserColor->green()) << 8 |
                  uint32_t(ChooserColor->blue());
        change = [this, alpha, rgb](TEngineGlow& glow) { ApplyToColor(glow, rgb, alpha); };
    } else if (Editing == Numbers) {
        std::array<std::optional<float>, 3> typed;
        for (int col = 0; col < 3; ++col) {
            if (!Shown[col])
                return;
            if (text(col) != *Shown[col]) {
                try {
                    typed[size_t(col)] = TextFloat(text(col).toStdString());
                } catch (const EConvertError&) {
                }
            }
        }
        change = [this, typed](TEngineGlow& glow) { ApplyToPending(glow, typed); };
    } else {
        return;
    }
    TGlowPreview preview{DialogGlow, Document.GlowAt(DialogGlow)};
    change(preview.Values);
    for (const TGlowIndex& at : OtherGlows) {
        preview.Others.push_back({at, Document.GlowAt(at)});
        change(preview.Others.back().Values);
    }
    Document.Preview = std::move(preview);
    Previewing = true;
    emit PreviewChanged();
}

uint32_t TValueDialog::TypedColor(uint32_t word, const std::function<QString(int)>& text)
{
    // Alpha, red, green and blue in the grid's order, each a byte of the
    // word from the top; a text that is no byte leaves the stored one.
    for (int col = 0; col < 4; ++col) {
        try {
            const int32_t value = TextInt(text(col).toStdString());
            const int shift = 24 - 8 * col;
            if (value >= 0 && value <= 255)
                word = (word & ~(0xFFu << shift)) | uint32_t(value) << shift;
        } catch (const EConvertError&) {
        }
    }
    return word;
}

std::vector<TGlowIndex> TValueDialog::DialogGlows() const
{
    std::vector<TGlowIndex> glows{DialogGlow};
    glows.insert(glows.end(), OtherGlows.begin(), OtherGlows.end());
    return glows;
}

void TValueDialog::WriteFile(const std::vector<TGlowIndex>& glows, const std::function<void(TEngineGlow&)>& change)
{
    // The frame that shows what was written shows the stored glows; only when
    // nothing was written (or the write failed) must the preview go by a
    // frame of its own.
    const bool previewed = DropPreview();
    TGlowWrite write = WithChange(Document.Model, {}, glows, change);
    OwnWrite = true;
    const TStepRun run = Document.History.Make(write);
    OwnWrite = false;
    if (previewed && run.Written.Changes.empty())
        emit PreviewChanged();
    run.ThrowFailure();
}

void TValueDialog::HideButtons()
{
    Editing = Nothing;
    ColorButton->hide();
    CenterButton->hide();
    ManOkButton->hide();
}

void TValueDialog::WriteAndClose(const std::vector<TGlowIndex>& glows,
                                 const std::function<void(TEngineGlow&)>& change)
{
    // The history's change refreshes the panel and draws the view.
    WriteFile(glows, change);
    Shown = {};
    HideButtons();
    hide();
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
    Shown = {};
    HideButtons();
    hide();
}

void TValueDialog::ForgetModel()
{
    // The model goes: nothing of it is drawn again.
    DropPreview();
    Shown = {};
    hide();
    DialogGlow = {};
    OtherGlows.clear();
}

void TValueDialog::FollowChange(const TGlowEdit& written)
{
    if (OwnWrite || !isVisible())
        return;
    const std::vector<TGlowIndex> glows = DialogGlows();
    if (std::none_of(written.Changes.begin(), written.Changes.end(), [&](const TGlowChange& c) {
            return std::find(glows.begin(), glows.end(), c.At) != glows.end();
        }))
        return;
    // Left open it would show and write values from before the change. The
    // frame that shows the change follows (the history's listeners after
    // this one draw it): the preview goes without a frame of its own.
    DropPreview();
    Dismiss();
    ClearPendingMarks();
}

void TValueDialog::Open(const QString& title, const QStringList& header)
{
    show();
    raise();
    activateWindow();
    // Keys typed as it opens go into the first value: the button that had the
    // keyboard last time may be hidden now, and then no part of the dialog
    // would take them.
    Grid->setCurrentCell(1, 0);
    Grid->setFocus();
    TitleLabel->setText(title);
    for (int col = 0; col < 4; ++col)
        SetCell(col, 0, header[col]);
}

void TValueDialog::ShowColor(uint32_t w, bool core)
{
    Open(core ? QStringLiteral("Core Color") : QStringLiteral("Outer Color"), {"Alpha", "Red", "Green", "Blue"});
    for (int col = 0; col < 4; ++col)
        SetCell(col, 1, QString::number((w >> (24 - 8 * col)) & 0xFF));
    ShownAlpha = Grid->item(1, 0)->text();
    Editing = core ? CoreColor : OuterColor;
    ColorButton->show();
}

void TValueDialog::ShowPoint(const std::array<float, 3>& values, const QString& title)
{
    Open(title, {"X width", "Y height", "Z length", "Not Used"});
    ShowValues(values);
    Editing = Numbers;
    ManOkButton->show();
}

bool TValueDialog::EditingCell() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && focus != Grid->viewport() && Grid->viewport()->isAncestorOf(focus);
}

void TValueDialog::CommitCellEdit()
{
    // The in-place editor hands its text to the grid when it loses focus; a
    // button pressed with the keyboard would otherwise read the old text.
    if (EditingCell())
        Grid->setFocus();
}

void TValueDialog::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (!enter || mods != Qt::NoModifier || EditingCell()) {
        QDialog::keyPressEvent(event);
        return;
    }
    for (QPushButton* main : {ManOkButton, ColorButton})
        if (main->isVisible()) {
            main->click();
            return;
        }
}

QString TValueDialog::Cell(int col, int row)
{
    CommitCellEdit();
    const QTableWidgetItem* item = Grid->item(row, col);
    return item ? item->text() : QString();
}

void TValueDialog::SetCell(int col, int row, const QString& text)
{
    Grid->item(row, col)->setText(text);
}

void TValueDialog::ShowValues(const std::array<float, 3>& values)
{
    for (int col = 0; col < 3; ++col) {
        const QString text = QString::fromStdString(FormatFloats("%4.2f", {values[col]}));
        Shown[col] = text;
        SetCell(col, 1, text);
    }
    SetCell(3, 1, QStringLiteral("0"));
}

bool TValueDialog::CellTouched(int col)
{
    return !Shown[col] || *Shown[col] != Cell(col, 1);
}

uint32_t TValueDialog::ReverseCol(uint32_t p)
{
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

void TValueDialog::ManOkClicked()
{
    Guarded([&] {
        if (!DialogGlow)
            return;
        // Only the cells the user changed: the others keep each glow's own
        // stored value.
        std::array<std::optional<float>, 3> typed;
        try {
            for (int col = 0; col < 3; ++col)
                if (CellTouched(col))
                    typed[size_t(col)] = TextFloat(Cell(col, 1).toStdString());
        } catch (const EConvertError& e) {
            ShowMsg(std::string("EConvertError") + LineBreak + e.what());
            return;
        }
        if (PendingDensity0 || PendingDensity1 || PendingDensity2) {
            for (const std::optional<float>& v : typed)
                if (v && !(*v >= 0.0f && *v <= 1.0f)) {
                    ShowMsg("Value not 0.0 to 1.0 ! Exiting ");
                    return;
                }
        }
        WriteAndClose(DialogGlows(), [&](TEngineGlow& glow) { ApplyToPending(glow, typed); });
        // Served once written: after a write that failed, Man Ok again stores
        // the same value.
        ClearPendingMarks();
    });
}

void TValueDialog::ColorClicked()
{
    Guarded([&] {
        if (!DialogGlow)
            return;
        // The chooser opens on the colour's red, green and blue as typed
        // (those left as shown are the stored ones), so a change of alpha
        // alone keeps them.
        const TEngineGlow& glow = Document.GlowAt(DialogGlow);
        const uint32_t word = Editing == CoreColor ? glow.CoreColor : glow.OuterColor;
        const uint32_t opensOn = TypedColor(word, [this](int col) { return Cell(col, 1); });
        ColorChooser.Color = QColor(int(opensOn >> 16 & 0xFF), int(opensOn >> 8 & 0xFF), int(opensOn & 0xFF));
        const bool chosen = ColorChooser.Execute(this, [this](const QColor& current) {
            ChooserColor = current;
            UpdatePreview();
        });
        // Cancelled, the view shows the dialog's values without the chooser's.
        ChooserColor.reset();
        if (!chosen) {
            UpdatePreview();
            return;
        }
        const QColor& c = ColorChooser.Color;
        const uint32_t rgb = ReverseCol(uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16);
        const QString alphaText = Cell(0, 1);
        const int32_t alpha = TextInt(alphaText.toStdString());
        if (alpha < 0 || alpha > 255) {
            ShowMsg("Alpha value not in range of 0 to 255");
            return;
        }
        // An alpha left as shown: each glow keeps its own.
        const std::optional<uint32_t> typed =
            alphaText != ShownAlpha ? std::optional<uint32_t>(uint32_t(alpha)) : std::nullopt;
        WriteAndClose(DialogGlows(), [&](TEngineGlow& g) { ApplyToColor(g, rgb, typed); });
    });
}

void TValueDialog::CenterClicked()
{
    Guarded([&] {
        if (!DialogGlow)
            return;
        const TSelection& selection = Document.Selection;
        if (selection.SelectMode != 1) {
            ShowMsg("Select a Face");
            return;
        }
        // The glow onto the face's centre, the others with it by as much.
        const TOMesh& mesh = Document.Model.Meshes.Get(selection.CurMesh);
        const TFloat3 to = FaceBoxCentre(mesh, mesh.Faces[0].Get(selection.CurFace));
        const TFloat3 from = Document.GlowAt(DialogGlow).Center;
        // A glow whose centre would become infinite or no number stays where
        // it is, and the user is told which.
        std::vector<TGlowIndex> moving, refused;
        for (const TGlowIndex& at : DialogGlows())
            (MovedAlong(Document.GlowAt(at).Center, from, to) ? moving : refused).push_back(at);
        if (!refused.empty())
            ShowMsg(NotMovedText(refused));
        if (!moving.empty())
            WriteAndClose(moving, [&](TEngineGlow& g) { g.Center = *MovedAlong(g.Center, from, to); });
    });
}

void TValueDialog::CloseClicked()
{
    Guarded([&] {
        if (DialogGlow)
            WriteAndClose({DialogGlow}, [](TEngineGlow&) {});
    });
}

void TValueDialog::ClearPendingMarks()
{
    PendingPoint = PendingVector = PendingDensity0 = PendingDensity1 = PendingDensity2 = false;
}
