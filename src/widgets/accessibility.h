#pragma once
// What screen readers are told about the program's controls. The self-drawn widgets describe
// themselves (the tab strip as a list of page tabs that can be pressed, a frame as the border of
// its control), and a control that shows no caption of its own takes the caption of the label
// beside or above it as its name, the label becoming its buddy so the label's mnemonic moves the
// focus there.

class QWidget;

namespace tkv {

// Teaches the accessibility framework the tab strip and the frame; the widgets do it themselves
// when the first of them is made, so it happens before any interface of theirs is asked for.
void install_widget_accessibility();

// Gives every control below root that shows no caption of its own (edits, lists, tables, combo
// boxes, the tab strip) and has no name yet the label captioning it: the nearest label on its panel
// (or a panel holding it) ending just above it or just left of it. Labels that already serve
// another control are left to it. A button showing only an icon is named by its tooltip.
void name_controls_by_labels(QWidget* root);

} // namespace tkv
