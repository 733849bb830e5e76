#pragma once
// The tools by the values the program has always kept in CurrentTool. Those strings are
// compared here and nowhere else: code asks toolKind() which tool it is.
#include <QString>

// Tool values, exactly as stored.
namespace tool {
inline const QString Fill = QStringLiteral("Заливать");
inline const QString Brush = QStringLiteral("Рисовать");
inline const QString Eraser = QStringLiteral("Стирать");
inline const QString Spray = QStringLiteral("Болончик");
inline const QString Stamp = QStringLiteral("Штамп");
inline const QString Shapes = QStringLiteral("Фигуры");
} // namespace tool

enum class ToolKind { None, Fill, Brush, Eraser, Spray, Stamp, Shapes };

inline ToolKind toolKind(const QString& value) {
    if (value == tool::Fill)
        return ToolKind::Fill;
    if (value == tool::Brush)
        return ToolKind::Brush;
    if (value == tool::Eraser)
        return ToolKind::Eraser;
    if (value == tool::Spray)
        return ToolKind::Spray;
    if (value == tool::Stamp)
        return ToolKind::Stamp;
    if (value == tool::Shapes)
        return ToolKind::Shapes;
    return ToolKind::None;
}

// Fill-style, stamp-set and shape values, compared exactly.
namespace fillstyle {
inline const QString Normal = QStringLiteral("обычная");
inline const QString Special = QStringLiteral("специальная");
} // namespace fillstyle
namespace stampkind {
inline const QString Flowers = QStringLiteral("цветы");
inline const QString Hearts = QStringLiteral("сердце");
inline const QString Snow = QStringLiteral("снег");
inline const QString Leaves = QStringLiteral("листья2");
} // namespace stampkind
namespace shape {
inline const QString Circle = QStringLiteral("Круг");
inline const QString Square = QStringLiteral("Квадрат");
inline const QString Line = QStringLiteral("Линия");
inline const QString Triangle = QStringLiteral("Треугольник");
inline const QString Polygon = QStringLiteral("Многоугольник");
inline const QString Trapezoid = QStringLiteral("Трапеция");
inline const QString Diamond = QStringLiteral("Ромб");
} // namespace shape
inline const QString kMulticolorMode = QStringLiteral("Цветной");
