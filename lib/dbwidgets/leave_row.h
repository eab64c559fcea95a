#pragma once

#include <QStringList>
#include <functional>

class QWidget;

namespace ds {
class Dataset;
}

namespace dbw {

// The required values that the row being edited still lacks, by the names the user knows them.
QStringList missingValues(const ds::Dataset& dataset);

// The one rule for leaving a row that is being edited (closing a screen, choosing another
// period or master): text still in an editor goes into the row first; a complete and valid
// row is posted; an untouched new row, or an edit that changed nothing, goes silently; a row
// that lacks required values, that cannot be saved because the server is gone, or whose
// typed text a field refuses, is dropped only when the user says so. Returns false when the
// user stays with the row: they declined to drop it, or its post was refused (the refusal
// has been shown). `untouched` overrides the dataset's own notion of an unchanged new row.
bool leaveRow(ds::Dataset& dataset, QWidget* parent, const std::function<bool()>& untouched = {});

} // namespace dbw
