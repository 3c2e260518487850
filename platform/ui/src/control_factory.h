// Making the Qt widget for a template's control and giving it the template's place and styles.
#pragma once

#include <kestrum/ui/dialog_template.h>
#include <kestrum/ui/dialog_units.h>

class QWidget;

namespace kestrum::ui {

inline constexpr char kControlIdProperty[] = "kestrumControlId";

// A widget of the control's class (QLabel, CEdit, QPushButton, QCheckBox, QRadioButton,
// QGroupBox, CListBox, CListCtrl), child of parent, not yet placed.
QWidget* createControl(const ControlTemplate& control, QWidget* parent);

// Position and size in pixels, identifier, styles and text; used both for the widgets made
// here and for a program's own control put in a template control's place.
void applyTemplate(QWidget* widget, const ControlTemplate& control, DialogBaseUnits base);

}  // namespace kestrum::ui
