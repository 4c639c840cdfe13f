// Steps shared by the button and group-box browsers, which lay properties out
// as rows of grid layouts: moving the rows of a grid, and showing a property
// on its name label, value label and editor.
#ifndef PBGRIDROWS_P_H
#define PBGRIDROWS_P_H

class PbProperty;
class QGridLayout;
class QLabel;
class QWidget;

namespace PbGridRows {

/// Moves every item at or below `row` one row down; spans are kept.
void insertRow(QGridLayout *layout, int row);
/// Moves every item below `row` one row up; spans are kept.
void removeRow(QGridLayout *layout, int row);

/// A new name label under `parent` (size policy fixed, fixed).
QLabel *createNameLabel(QWidget *parent);
/// A new plain-text value label under `parent` (size policy ignored, fixed).
QLabel *createValueLabel(QWidget *parent);

/// Name, tips and enabled state of `property` on a name label, a button or
/// a group box;
/// the font is underlined while the property is modified.
void showName(QWidget *widget, const PbProperty *property);
/// Value text and enabled state of `property` on its value label or editor
/// (either may be null), never underlined.
void showValue(QLabel *valueLabel, QWidget *editor, const PbProperty *property);

} // namespace PbGridRows

#endif
