#pragma once

#include <QIcon>

// The program's pictures, drawn here so that they look the same on every desktop.
namespace icons {

QIcon program();
QIcon importing();
QIcon endOfWork();
QIcon help();
QIcon mail();
QIcon web();

} // namespace icons
