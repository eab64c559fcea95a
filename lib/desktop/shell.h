#pragma once

#include <QString>
#include <functional>

namespace desktop {

// Opens a web address or a "mailto:" address with the program the desktop uses for it.
// Returns false, after telling the user, when the desktop could not open it.
bool openAddress(const QString& url);

// Opens a local file (a saved PDF) with the program the desktop uses for its kind, through the
// same way as openAddress (the handler gets its "file:" address).
bool openFile(const QString& path);

// Replaces the desktop while set (tests): the handler gets each address instead.
// An empty function restores the desktop.
using AddressHandler = std::function<void(const QString& url)>;
void setAddressHandler(AddressHandler handler);

} // namespace desktop
