#pragma once

namespace ds {

// What a dataset tells the data sources that show it.
enum class DataEvent {
    FieldChanged,    // one field of the current row changed (the field is given)
    RecordChanged,   // the current row's values changed as a whole (cancel, calculated refresh)
    Scrolled,        // another row became current
    DatasetChanged,  // rows were loaded, added or removed; everything may have changed
    StateChanged,    // browse, edit, insert, inactive
    UpdateRecord,    // about to post: editors write their pending text into the fields
};

} // namespace ds
