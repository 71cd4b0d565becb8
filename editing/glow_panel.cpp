#include "glow_panel.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "value_dialog.h"
#include "click_list.h"
#include "conversions.h"
#include "error_display.h"
#include "glow_edit.h"
#include "open_document.h"
#include "glyphs.h"

namespace {

const QString TitleStart = QStringLiteral("Engine Glow Editor   ");

// A font by name that falls back to the nearest one of its kind.
QFont PanelFont(bool bold, int pixels = 13, const char* family = "Courier New")
{
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

TClickLabel* ValueLabel(const QString& text, const QFont& font, QWidget* parent)
{
    auto* label = new TClickLabel(text, parent);
    label->setFixedHeight(20);
    label->setFont(font);
    return label;
}

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

}  // namespace

// A tool window of the window that holds the anchor: it stays above that
// window only, so the dialogs and message boxes opened over it stay in sight.
TGlowPanel::TGlowPanel(QWidget* anchor, TOpenDocument& document)
    : QWidget(anchor->window(), Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Dialog(new TValueDialog(this, document)),
      Anchor(anchor),
      Document(document)
{
    setFont(PanelFont(true));
    setWindowTitle(TitleStart);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // FitOverAnchor decides the size, even below what the contents would like.
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    BuildButtonBar();
    layout->addWidget(ButtonBar);

    EditingLabel = new QLabel(QStringLiteral("Editing Glow "), this);
    EditingLabel->setFixedHeight(30);
    EditingLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    EditingLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(EditingLabel);

    BuildValueArea();
    layout->addWidget(ValueArea, 1);

    // Whatever changed the glows, the panel shows what the file now holds.
    connect(&Document.History, &TGlowHistory::Changed, this, [this] { ShowGlowValues(); });
}

TGlowDisplay TGlowPanel::Display() const
{
    return {isVisible(), SelectedGlowButton->isChecked(), ConesButton->isChecked()};
}

QString TGlowPanel::EditingGlowText() const
{
    return QStringLiteral("Editing Glow ") + QString::fromStdString(IntText(Document.Selection.EditGlow));
}

QToolButton* TGlowPanel::ToolButton(int left, const QIcon& icon, const char* hint, void (TGlowPanel::*handler)())
{
    auto* button = new QToolButton(ButtonBar);
    button->setGeometry(left, 1, 25, 25);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(QString::fromLatin1(hint));
    connect(button, &QToolButton::clicked, this, handler);
    return button;
}

void TGlowPanel::BuildButtonBar()
{
    ButtonBar = new QFrame(this);
    ButtonBar->setFixedHeight(30);
    ButtonBar->setFrameStyle(QFrame::Panel | QFrame::Raised);

    NextGlowButton = ToolButton(5, glyphs::NextGlow(), "Select Next  Glow", &TGlowPanel::StepToNextGlow);
    SelectedGlowButton = ToolButton(35, glyphs::SelectedGlow(), "Show Selected Glow", &TGlowPanel::DisplayChoiceClicked);
    AllGlowsButton = ToolButton(65, glyphs::AllGlows(), "Show All Glows", &TGlowPanel::DisplayChoiceClicked);
    CopyColorButton = ToolButton(95, glyphs::CopyColor(), "Copy color to all ", &TGlowPanel::CopyColorToAll);
    CopyVectorButton = ToolButton(125, glyphs::CopyVector(), "Copy This vector to all ", &TGlowPanel::CopyVectorToAll);
    ConesButton = ToolButton(160, glyphs::Cones(), "Show vectors as cones", &TGlowPanel::DisplayChoiceClicked);
    NoConesButton = ToolButton(190, glyphs::NoCones(), "Don`t show cones", &TGlowPanel::DisplayChoiceClicked);

    const auto group = [this](QToolButton* down, QToolButton* up) {
        auto* buttons = new QButtonGroup(this);
        buttons->setExclusive(true);
        for (QToolButton* b : {down, up}) {
            b->setCheckable(true);
            buttons->addButton(b);
        }
        down->setChecked(true);
    };
    group(SelectedGlowButton, AllGlowsButton);  // which glows are drawn
    group(NoConesButton, ConesButton);          // vectors as cones or not
}

void TGlowPanel::BuildValueArea()
{
    ValueArea = new QFrame(this);
    ValueArea->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QVBoxLayout(ValueArea);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);

    ItemList = new TClickList(ValueArea);
    ItemList->setFixedHeight(50);
    ItemList->setFont(PanelFont(false, 11));
    ItemList->setSelectionMode(QAbstractItemView::SingleSelection);
    ItemList->setToolTip(QStringLiteral("Click to Edit"));
    ItemList->setStyleSheet(QStringLiteral("QListWidget::item { height: 14px; }"));
    ItemList->addItems({"Core Color", "Outer Color", "Point", "Vector", "Density0", "Density1", "Density2"});
    connect(ItemList, &TClickList::Clicked, this, &TGlowPanel::OpenSelectedItem);
    layout->addWidget(ItemList);

    CoreColorBar = ValueLabel(QStringLiteral("Core Color"), font(), ValueArea);
    OuterColorBar = ValueLabel(QStringLiteral("Outer Color"), font(), ValueArea);
    for (QLabel* bar : {CoreColorBar, OuterColorBar}) {
        bar->setToolTip(bar->text());
        bar->setAutoFillBackground(true);
        layout->addWidget(bar);
    }
    const QFont valueFont = PanelFont(false);
    PointLine = ValueLabel(QStringLiteral("Point"), valueFont, ValueArea);
    VectorLine = ValueLabel(QStringLiteral("Vector"), valueFont, ValueArea);
    Density0Line = ValueLabel(QStringLiteral("lxv"), valueFont, ValueArea);
    Density1Line = ValueLabel(QStringLiteral("lyv"), valueFont, ValueArea);
    Density2Line = ValueLabel(QStringLiteral("lzv"), valueFont, ValueArea);
    for (QLabel* label : {PointLine, VectorLine, Density0Line, Density1Line, Density2Line})
        layout->addWidget(label);
    // A click on a colour bar or a value line opens its item: they stand in
    // the order of ItemList's items.
    int row = 0;
    for (TClickLabel* line : {CoreColorBar, OuterColorBar, PointLine, VectorLine, Density0Line, Density1Line, Density2Line})
        connect(line, &TClickLabel::Clicked, this, [this, row = row++] { OpenItem(row); });
    layout->addStretch(1);

    RateArea = new QFrame(ValueArea);
    RateArea->setFixedHeight(57);
    auto* bottom = new QHBoxLayout(RateArea);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(4);
    RateList = new TClickList(RateArea);
    RateList->setFixedWidth(70);
    RateList->setFont(valueFont);
    RateList->setSelectionMode(QAbstractItemView::SingleSelection);
    RateList->setStyleSheet(QStringLiteral("QListWidget::item { height: 16px; }"));
    for (int rate = 1; rate <= 10; ++rate)
        RateList->addItem(QString::number(rate));
    connect(RateList, &TClickList::Clicked, this, &TGlowPanel::ChooseMovementRate);
    RateLabel = new QLabel(QStringLiteral("Movement Rate"), RateArea);
    RateLabel->setFont(valueFont);
    RateLabel->setWordWrap(true);
    bottom->addWidget(RateList);
    bottom->addWidget(RateLabel, 1);
    layout->addWidget(RateArea);
}

void TGlowPanel::OpenItem(int row)
{
    ItemList->setCurrentRow(row);
    OpenSelectedItem();
}

void TGlowPanel::ShowForNewModel()
{
    FitOverAnchor();
    ShowGlow();
    Document.Selection.EditGlow = -1;
    Document.Selection.SelectEditedGlowAlone();
}

void TGlowPanel::FitOverAnchor()
{
    const QPoint topLeft = Anchor->mapToGlobal(QPoint(0, 0));
    // The frame (title bar and borders) is the difference between the outer
    // and the client geometry; the outer rectangle is to cover the anchor.
    // Making the native window first lets platforms that know the frame
    // before the first show report it. create(), not winId(): winId() would
    // make every other child of the main window native as well, which the
    // view's OpenGL composition does not survive.
    create();
    const QRect outer = frameGeometry();
    const QRect client = geometry();
    const int left = client.left() - outer.left();
    const int top = client.top() - outer.top();
    const int right = outer.right() - client.right();
    const int bottom = outer.bottom() - client.bottom();
    setGeometry(topLeft.x() + left, topLeft.y() + top, std::max(0, Anchor->width() - left - right),
                std::max(0, Anchor->height() - top - bottom));
    FrameUnknown = outer == client;
}

bool TGlowPanel::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Paint:
        if (FrameUnknown && isVisible() && frameGeometry() != geometry()) {
            // Known at last (often only by the first paint): fit again once
            // this event is done.
            FrameUnknown = false;
            QMetaObject::invokeMethod(this, [this] { Guarded([&] { FitOverAnchor(); }); }, Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return handled;
}

// Window managers may offer a close box in spite of the hints; the panel
// stays, for the view draws glows only while it is showing.
void TGlowPanel::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void TGlowPanel::ShowGlow()
{
    TSelection& selection = Document.Selection;
    ShownMesh = selection.CurMesh;
    const int n = CurMeshGlowCount(Document);
    if (n == 0) {
        setWindowTitle(TitleStart);
        selection.EditGlow = -1;
    } else {
        setWindowTitle(TitleStart + Text(IntText(n)) + QStringLiteral(" Glows in Mesh ") +
                       Text(IntText(selection.CurMesh)));
        // An index that names no glow of this mesh counts as none.
        if (!ShownGlow(Document)) {
            selection.EditGlow = 0;
            selection.SelectEditedGlowAlone();
        }
        EditingLabel->setText(EditingGlowText());
    }
    Dialog->FollowSelection();
    ShowGlowValues();
    ShowMovementRate();
}

void TGlowPanel::ShowMovementRate()
{
    RateList->setCurrentRow(Rate - 1);
    RateLabel->setText(QStringLiteral("Movement Rate = ") + Text(IntText(Rate)));
}

void TGlowPanel::FollowCurMesh()
{
    if (isVisible() && Document.Selection.CurMesh != ShownMesh)
        ShowGlow();
}

void TGlowPanel::ShowGlowValues()
{
    const TGlowIndex shown = ShownGlowIndex(Document);
    if (!shown)
        return;
    // A glow being dragged shows where it is going.
    const TEngineGlow* g = &Document.ShownValues(shown);
    ShowColorBar(g->CoreColor, CoreColorBar);
    ShowColorBar(g->OuterColor, OuterColorBar);
    const auto show = [](QLabel* label, const char* format, const TFloat3& v) {
        label->setText(Text(FormatFloats(format, {v.X, v.Y, v.Z})));
    };
    show(PointLine, "Point = %5.2f ,%5.2f ,%5.2f ", g->Center);
    show(VectorLine, "Vector = %5.2f ,%5.2f ,%5.2f ", g->MainVec);
    show(Density0Line, "Density 0 = %2.3f ,%2.3f ,%2.3f ", g->Density0);
    show(Density1Line, "Density 1 = %2.3f ,%2.3f ,%2.3f ", g->Density1);
    show(Density2Line, "Density 2 = %2.3f ,%2.3f ,%2.3f ", g->Density2);
}

void TGlowPanel::ShowColorBar(uint32_t w, QLabel* label)
{
    const QColor bar(int((w >> 16) & 0xFF), int((w >> 8) & 0xFF), int(w & 0xFF));
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, bar);
    // Black or white, whichever stands out from the bar, so that a dark or a
    // near-white colour keeps its label readable.
    palette.setColor(QPalette::WindowText, qGray(bar.rgb()) >= 128 ? Qt::black : Qt::white);
    label->setPalette(palette);
    // The bar's name is its hint; the word follows it, alpha included.
    label->setText(label->toolTip() + QStringLiteral(" %1").arg(w, 8, 16, QLatin1Char('0')).toUpper());
}

void TGlowPanel::StepToNextGlow()
{
    Guarded([&] {
        const int n = CurMeshGlowCount(Document);
        if (n == 0)
            return;
        // -1 and an index that names no glow of this mesh both lead to glow 0.
        int32_t& glow = Document.Selection.EditGlow;
        glow = (glow >= -1 && glow < n - 1) ? glow + 1 : 0;
        Document.Selection.SelectEditedGlowAlone();
        Dialog->FollowSelection();
        EditingLabel->setText(EditingGlowText());
        emit RedrawRequested();
        ShowGlowValues();
    });
}

void TGlowPanel::CopyToAll(const char* name, const std::function<void(TEngineGlow&)>& change)
{
    TGlowWrite write = WithChange(Document.Model, name, EveryGlow(Document.Model), change);
    write.ReachesTwins = false;
    Document.History.Make(write).ThrowFailure();
}

void TGlowPanel::CopyColorToAll()
{
    Guarded([&] {
        const TEngineGlow* source = ShownGlow(Document);
        if (!source)
            return;
        const uint32_t core = source->CoreColor;
        const uint32_t outer = source->OuterColor;
        CopyToAll("Copy color to all", [&](TEngineGlow& g) {
            g.OuterColor = outer;
            g.CoreColor = core;
        });
    });
}

void TGlowPanel::CopyVectorToAll()
{
    Guarded([&] {
        const TEngineGlow* source = ShownGlow(Document);
        if (!source)
            return;
        const TFloat3 vector = source->MainVec;
        CopyToAll("Copy vector to all", [&](TEngineGlow& g) { g.MainVec = vector; });
    });
}

// The button groups have already changed the pressed state; the view only
// needs to show it.
void TGlowPanel::DisplayChoiceClicked()
{
    Guarded([this] { emit RedrawRequested(); });
}

void TGlowPanel::ChooseMovementRate()
{
    Guarded([&] {
        const int row = RateList->SelectedRow();
        if (row < 0)
            return;
        Rate = TextInt(RateList->item(row)->text().toStdString());
        RateLabel->setText(QStringLiteral("Movement Rate = ") + Text(IntText(Rate)));
        emit MovementRateChosen(Rate);
    });
}
