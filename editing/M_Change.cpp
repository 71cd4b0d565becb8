#include "M_Change.h"

#include "app_state.h"
#include "working_copy.h"

// Stand-in until the edit dialog is built.

TMCh* MCh = nullptr;

TMCh::TMCh(QWidget* parent) : QDialog(parent)
{
    MCh = this;
}

void TMCh::WriteFile()
{
    WriteDialogGlow();
}

void TMCh::HideAll() {}
void TMCh::HideMost() {}

void TMCh::ForgetModel()
{
    hide();
    DialogGlow = nullptr;
}
