#pragma once
// Windows-1251: the 8-bit text of config.ini, .pak entry names and stat.dat.
#include <QByteArray>
#include <QString>

QByteArray toCp1251(const QString& s); // characters outside the code page become '?'
QString fromCp1251(const QByteArray& b);
