#include "Main.h"

#include <QHBoxLayout>
#include <QStatusBar>

#include "M_Glunit.h"

// Stand-in until the main window is built: P1 and P2 side by side.

TMe* Me = nullptr;

TMe::TMe(QWidget* parent) : QMainWindow(parent)
{
    Me = this;
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    P1 = new TGLPanel(central);
    P1->setFixedSize(376, 376);
    P2 = new QWidget(central);
    layout->addWidget(P1);
    layout->addWidget(P2, 1);
    setCentralWidget(central);
    Bar = statusBar();
}

void TMe::NewTr()
{
    RenderView();
}
