#include "Main.h"

#include "M_Glunit.h"

// Stand-in until the main window is built.

TMe* Me = nullptr;

TMe::TMe(QWidget* parent) : QMainWindow(parent)
{
    Me = this;
}

void TMe::NewTr()
{
    RenderView();
}
