#include "Ed_EGlow.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "M_Change.h"
#include "M_draw.h"
#include "app_state.h"
#include "click_list.h"
#include "conversions.h"
#include "error_display.h"
#include "glow_ops.h"
#include "glow_preview.h"
#include "glyphs.h"
#include "view_state.h"

TEGlow* EGlow = nullptr;

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

QString EditingGlowText()
{
    return QStringLiteral("Editing Glow ") + QString::fromStdString(IntText(EditGlow));
}

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

}  // namespace

// A tool window of the window that holds the anchor: it stays above that
// window only, so the dialogs and message boxes opened over it stay in sight.
TEGlow::TEGlow(QWidget* anchor, TGlowHistory& history)
    : QWidget(anchor->window(), Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Dialog(new TMCh(this, history)),
      Anchor(anchor),
      History(history)
{
    EGlow = this;
    setFont(PanelFont(true));
    setWindowTitle(TitleStart);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // SetSize decides the size, even below what the contents would like.
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    BuildButtonBar();
    layout->addWidget(Panel1);

    P3 = new QLabel(QStringLiteral("Editing Glow "), this);
    P3->setFixedHeight(30);
    P3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    P3->setAlignment(Qt::AlignCenter);
    layout->addWidget(P3);

    BuildValueArea();
    layout->addWidget(P2, 1);

    // Whatever changed the glows, the panel shows what the file now holds.
    connect(&History, &TGlowHistory::Changed, this, [this] { displayinfo(); });

    GlowDisplay = [this]() {
        TGlowDisplay display;
        display.Showing = isVisible();
        display.SelectedOnly = SB1->isChecked();
        display.Cones = SBCone->isChecked();
        return display;
    };
}

TEGlow::~TEGlow()
{
    GlowDisplay = nullptr;
    if (EGlow == this)
        EGlow = nullptr;
}

QToolButton* TEGlow::SpeedButton(int left, const QIcon& icon, const char* hint, void (TEGlow::*handler)())
{
    auto* button = new QToolButton(Panel1);
    button->setGeometry(left, 1, 25, 25);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolTip(QString::fromLatin1(hint));
    connect(button, &QToolButton::clicked, this, handler);
    return button;
}

void TEGlow::BuildButtonBar()
{
    Panel1 = new QFrame(this);
    Panel1->setFixedHeight(30);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    SBUp = SpeedButton(5, glyphs::NextGlow(), "Select Next  Glow", &TEGlow::SBUpClick);
    SB1 = SpeedButton(35, glyphs::SelectedGlow(), "Show Selected Glow", &TEGlow::SB1Click);
    SB2 = SpeedButton(65, glyphs::AllGlows(), "Show All Glows", &TEGlow::SB2Click);
    SBCopyColor = SpeedButton(95, glyphs::CopyColor(), "Copy color to all ", &TEGlow::SBCopyColorClick);
    SBCopyVector = SpeedButton(125, glyphs::CopyVector(), "Copy This vector to all ", &TEGlow::SBCopyVectorClick);
    SBCone = SpeedButton(160, glyphs::Cones(), "Show vectors as cones", &TEGlow::SBConeClick);
    SBConeOFF = SpeedButton(190, glyphs::NoCones(), "Don`t show cones", &TEGlow::SBConeOFFClick);

    const auto group = [this](QToolButton* down, QToolButton* up) {
        auto* buttons = new QButtonGroup(this);
        buttons->setExclusive(true);
        for (QToolButton* b : {down, up}) {
            b->setCheckable(true);
            buttons->addButton(b);
        }
        down->setChecked(true);
    };
    group(SB1, SB2);           // which glows are drawn
    group(SBConeOFF, SBCone);  // vectors as cones or not
}

void TEGlow::BuildValueArea()
{
    P2 = new QFrame(this);
    P2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QVBoxLayout(P2);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);

    LB = new TClickList(P2);
    LB->setFixedHeight(50);
    LB->setFont(PanelFont(false, 11));
    LB->setSelectionMode(QAbstractItemView::SingleSelection);
    LB->setToolTip(QStringLiteral("Click to Edit"));
    LB->setStyleSheet(QStringLiteral("QListWidget::item { height: 14px; }"));
    LB->addItems({"Core Color", "Outer Color", "Point", "Vector", "Density0", "Density1", "Density2"});
    connect(LB, &TClickList::Clicked, this, &TEGlow::LBClick);
    layout->addWidget(LB);

    L1 = ValueLabel(QStringLiteral("Core Color"), font(), P2);
    L3 = ValueLabel(QStringLiteral("Outer Color"), font(), P2);
    for (QLabel* bar : {L1, L3}) {
        bar->setToolTip(bar->text());
        bar->setAutoFillBackground(true);
        layout->addWidget(bar);
    }
    const QFont valueFont = PanelFont(false);
    Lp = ValueLabel(QStringLiteral("Point"), valueFont, P2);
    Lv = ValueLabel(QStringLiteral("Vector"), valueFont, P2);
    lxv = ValueLabel(QStringLiteral("lxv"), valueFont, P2);
    lyv = ValueLabel(QStringLiteral("lyv"), valueFont, P2);
    lzv = ValueLabel(QStringLiteral("lzv"), valueFont, P2);
    for (QLabel* label : {Lp, Lv, lxv, lyv, lzv})
        layout->addWidget(label);
    // A click on a colour bar or a value line opens its item: they stand in
    // the order of LB's items.
    int row = 0;
    for (TClickLabel* line : {L1, L3, Lp, Lv, lxv, lyv, lzv})
        connect(line, &TClickLabel::Clicked, this, [this, row = row++] { OpenItem(row); });
    layout->addStretch(1);

    Panel2 = new QFrame(P2);
    Panel2->setFixedHeight(57);
    auto* bottom = new QHBoxLayout(Panel2);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(4);
    LBRate = new TClickList(Panel2);
    LBRate->setFixedWidth(70);
    LBRate->setFont(valueFont);
    LBRate->setSelectionMode(QAbstractItemView::SingleSelection);
    LBRate->setStyleSheet(QStringLiteral("QListWidget::item { height: 16px; }"));
    for (int rate = 1; rate <= 10; ++rate)
        LBRate->addItem(QString::number(rate));
    connect(LBRate, &TClickList::Clicked, this, &TEGlow::LBRateClick);
    Label1 = new QLabel(QStringLiteral("Movement Rate"), Panel2);
    Label1->setFont(valueFont);
    Label1->setWordWrap(true);
    bottom->addWidget(LBRate);
    bottom->addWidget(Label1, 1);
    layout->addWidget(Panel2);
}

void TEGlow::OpenItem(int row)
{
    LB->setCurrentRow(row);
    LBClick();
}

void TEGlow::DisplayForm()
{
    SetSize();
    ShoGlow();
    EditGlow = -1;
}

void TEGlow::SetSize()
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

bool TEGlow::event(QEvent* event)
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
            QMetaObject::invokeMethod(this, [this] { Guarded([&] { SetSize(); }); }, Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return handled;
}

// Window managers may offer a close box in spite of the hints; the panel
// stays, for the view draws glows only while it is showing.
void TEGlow::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void TEGlow::ShoGlow()
{
    ShownMesh = CurMesh;
    const int n = CurMeshGlowCount();
    if (n == 0) {
        setWindowTitle(TitleStart);
        EditGlow = -1;
    } else {
        setWindowTitle(TitleStart + Text(IntText(n)) + QStringLiteral(" Glows in Mesh ") + Text(IntText(CurMesh)));
        // An index that names no glow of this mesh counts as none.
        if (!ShownGlow())
            EditGlow = 0;
        P3->setText(EditingGlowText());
    }
    KeepDialogOnShownGlow();
    displayinfo();
    LBRate->setCurrentRow(RotStep - 1);
    Label1->setText(QStringLiteral("Movement Rate = ") + Text(IntText(RotStep)));
    emit RedrawRequested();
}

void TEGlow::FollowCurMesh()
{
    if (isVisible() && CurMesh != ShownMesh)
        ShoGlow();
}

void TEGlow::displayinfo()
{
    const TGlowIndex shown = ShownGlowIndex();
    if (!shown)
        return;
    // A glow being dragged shows where it is going.
    const TEngineGlow* g = &ShownValues(shown);
    DspColor(g->CoreColor, L1);
    DspColor(g->OuterColor, L3);
    const auto show = [](QLabel* label, const char* format, const TFloat3& v) {
        label->setText(Text(FormatFloats(format, {v.X, v.Y, v.Z})));
    };
    show(Lp, "Point = %5.2f ,%5.2f ,%5.2f ", g->Center);
    show(Lv, "Vector = %5.2f ,%5.2f ,%5.2f ", g->MainVec);
    show(lxv, "Density 0 = %2.3f ,%2.3f ,%2.3f ", g->Density0);
    show(lyv, "Density 1 = %2.3f ,%2.3f ,%2.3f ", g->Density1);
    show(lzv, "Density 2 = %2.3f ,%2.3f ,%2.3f ", g->Density2);
}

void TEGlow::DspColor(uint32_t w, QLabel* label)
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

void TEGlow::SBUpClick()
{
    Guarded([&] {
        const int n = CurMeshGlowCount();
        if (n == 0)
            return;
        // -1 and an index that names no glow of this mesh both lead to glow 0.
        EditGlow = (EditGlow >= -1 && EditGlow < n - 1) ? EditGlow + 1 : 0;
        KeepDialogOnShownGlow();
        P3->setText(EditingGlowText());
        emit RedrawRequested();
        displayinfo();
    });
}

void TEGlow::CopyToAll(const char* name, const std::function<void(TEngineGlow&)>& change)
{
    History.Make(CopyToAllEdit(name, change));
}

void TEGlow::SBCopyColorClick()
{
    Guarded([&] {
        const TEngineGlow* source = ShownGlow();
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

void TEGlow::SBCopyVectorClick()
{
    Guarded([&] {
        const TEngineGlow* source = ShownGlow();
        if (!source)
            return;
        const TFloat3 vector = source->MainVec;
        CopyToAll("Copy vector to all", [&](TEngineGlow& g) { g.MainVec = vector; });
    });
}

// The button groups have already changed the pressed state; the view only
// needs to show it.
void TEGlow::SB1Click()
{
    Guarded([this] { emit RedrawRequested(); });
}

void TEGlow::SB2Click()
{
    Guarded([this] { emit RedrawRequested(); });
}

void TEGlow::SBConeClick()
{
    Guarded([this] { emit RedrawRequested(); });
}

void TEGlow::SBConeOFFClick()
{
    Guarded([this] { emit RedrawRequested(); });
}

void TEGlow::LBRateClick()
{
    Guarded([&] {
        const int row = LBRate->SelectedRow();
        if (row < 0)
            return;
        RotStep = TextInt(LBRate->item(row)->text().toStdString());
        Label1->setText(QStringLiteral("Movement Rate = ") + Text(IntText(RotStep)));
        emit RedrawRequested();
    });
}
