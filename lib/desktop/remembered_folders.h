#pragma once

#include <QString>

namespace desktop {

// Each kind of file ("pdf", "csv", "rates", "backup") has its own last folder, kept between
// runs, so that a dialog for one kind never opens where the user last saved another kind.

// The folder last used for the kind; "" when none yet.
QString rememberedFolder(const QString& kind);
// Keeps the folder of a path chosen for the kind (the path itself when it is a folder).
void rememberFolderOf(const QString& kind, const QString& path);
// Where a dialog for the kind starts: a bare suggested file name goes into the kind's folder
// (the documents folder, or the home folder, when none yet); a path with a folder stays as it is.
QString startPathFor(const QString& kind, const QString& suggested);

} // namespace desktop
