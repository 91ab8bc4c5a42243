#pragma once

#include <QColor>

namespace quorvane {

// The colours of the results grid.
struct TResultColors {
    static QColor DataRow() { return {217, 234, 247}; }
    static QColor StripedRow() { return {164, 196, 235}; }
    static QColor Selected() { return {49, 106, 197}; }
    static QColor SelectedText() { return Qt::white; }
    static QColor SelectedUnfocused() { return {164, 196, 235}; }
    static QColor GroupRow() { return {224, 224, 224}; }
    static QColor Header() { return {49, 106, 197}; }
    static QColor HeaderText() { return Qt::white; }
    static QColor SearchMatch() { return {254, 213, 71}; }
    static QColor FilterBar() { return {255, 255, 225}; }
    static QColor EmptyArea() { return {164, 196, 235}; }
    static QColor Text() { return Qt::black; }
};

} // namespace quorvane
