// Handlers whose subsystems are still being built. Each moves to its own folder when done.
#include "app/mainwindow.h"

void TForm1::PaintBox1MouseDown(Qt::MouseButton, int, int) { StrokeSinceClear = 0; }
void TForm1::PaintBox1MouseMove(int, int) {}
void TForm1::PaintBox1MouseUp(Qt::MouseButton, int, int) { StrokeActive = false; }
void TForm1::Button_1Click() {}
void TForm1::Button_2Click() {}
void TForm1::Button_3Click() {}
void TForm1::box_img2Click(TImage*) {}
void TForm1::StartToolSound() {}
QImage TForm1::TexturePattern(int) const { return {}; }
