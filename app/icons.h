#pragma once

#include <QIcon>

// The program's pictures, drawn here so that they look the same on every desktop.
namespace icons {

QIcon program();
QIcon importing();
QIcon purchaseEntry();
QIcon settlement();
QIcon everyTaxpayer();
QIcon endOfWork();
QIcon help();
QIcon mail();
QIcon web();

} // namespace icons
