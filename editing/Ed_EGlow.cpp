#include "Ed_EGlow.h"

// Stand-in until the glow panel is built.

TEGlow* EGlow = nullptr;

TEGlow::TEGlow(QWidget* parent) : QWidget(parent)
{
    EGlow = this;
}

void TEGlow::DisplayForm() {}
void TEGlow::SetSize() {}
void TEGlow::ShoGlow() {}
void TEGlow::displayinfo() {}
void TEGlow::DspColor(uint32_t, QLabel*) {}
