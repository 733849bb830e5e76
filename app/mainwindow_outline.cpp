// Keeping the page's lines above the paint.
#include "app/mainwindow.h"
#include "app/options.h"

#include <QCheckBox>

bool TForm1::OutlinesStay() const {
    return Fm_Options && Fm_Options->CheckBox_Outlines->isChecked();
}
