// Handlers whose subsystems are still being built. Each moves to its own folder when done.
#include "app/mainwindow.h"

void TForm1::PaintBox1MouseDown(Qt::MouseButton, int, int) { StrokeSinceClear = 0; }
void TForm1::PaintBox1MouseMove(int, int) {}
void TForm1::PaintBox1MouseUp(Qt::MouseButton, int, int) { StrokeActive = false; }
void TForm1::Button_1Click() {}
void TForm1::Button_2Click() {}
void TForm1::Button_3Click() {}
void TForm1::box_img2Click(TImage*) {}
void TForm1::Button_RotateClick() {}
void TForm1::SprayPress(Qt::MouseButton, int, int) {}
void TForm1::SprayMove(int, int) {}
void TForm1::StampPress(Qt::MouseButton, int, int) {}
void TForm1::ShapePress(int, int) {}
void TForm1::ShapeDrag(int, int) {}
QImage TForm1::TexturePattern(int) const { return {}; }
void TForm1::CountClick() {}
bool TForm1::ComputeFavorites(bool*, bool*) { return false; }
void TForm1::Statsave() {}
void TForm1::Statload() {}
void TForm1::Button_StatClick() {}
void TForm1::menu_SaveClick() {}
void TForm1::menu_printClick() {}
void TForm1::menu_ColroingSendClick() {}
void TForm1::menu_ColoringViewClick() {}
void TForm1::menu_MailClick() {}
QImage TForm1::CaptureDrawingArea() { return {}; }
void TForm1::menu_aboutClick() {}
