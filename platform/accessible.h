#pragma once

#include <QString>

class QComboBox;
class QObject;
class QWidget;

namespace veltrix {

// A list a screen reader names after its label and reads its current item as the value. Qt on Linux
// names a list by its current item, which says nothing of what the list is for.
void NameList(QComboBox* list, const QString& name);

// Drops the interface Qt may have made for the object before it was told which to use: a screen
// reader that is listening asks for it as the widget is built.
void RenewAccessibleInterface(QObject* object);

// A label that acts as a link: a screen reader meets it as a link named by its text, whose action
// is a press (a click on the widget).
void ActAsLink(QWidget* label);

}  // namespace veltrix
