// Handlers whose subsystems are still being built. Each moves to its own folder when done.
#include "app/mainwindow.h"

void TForm1::StartToolSound() {}
